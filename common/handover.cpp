#include "handover.h"

namespace {

// The full path of path, which may be relative to the current folder: an open-file dialog
// may change that folder later.
std::wstring fullPath(const std::wstring &path)
{
    const DWORD length = GetFullPathName(path.c_str(), 0, NULL, NULL);
    if (length == 0)
        return path;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathName(path.c_str(), length, full.data(), NULL);
    if (written == 0 || written >= length)
        return path;
    full.resize(written);
    return full;
}

bool isFile(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributes(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

std::wstring commandLinePicture(const wchar_t *commandLine)
{
    std::wstring named = commandLine != NULL ? commandLine : L"";
    const std::wstring::size_type first = named.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return std::wstring();
    named.erase(0, first);
    if (named[0] == L'"') {
        const std::wstring::size_type close = named.find(L'"', 1);
        named = named.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    } else {
        named.erase(named.find_last_not_of(L" \t") + 1);
    }
    const std::wstring full = fullPath(named);
    return isFile(full) ? full : std::wstring();
}

std::wstring droppedFile(HDROP drop)
{
    const UINT length = DragQueryFile(drop, 0, NULL, 0);
    std::wstring path(length + 1, L'\0');
    const UINT copied = length > 0 ? DragQueryFile(drop, 0, path.data(), length + 1) : 0;
    DragFinish(drop);
    path.resize(copied);
    return isFile(path) ? path : std::wstring();
}
