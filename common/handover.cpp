#include "handover.h"

namespace {

// The full path of path, which may be relative to the current folder: an open-file dialog
// may change that folder later.
std::string fullPath(const std::string &path)
{
    const DWORD length = GetFullPathNameA(path.c_str(), 0, NULL, NULL);
    if (length == 0)
        return path;
    std::string full(length, '\0');
    const DWORD written = GetFullPathNameA(path.c_str(), length, full.data(), NULL);
    if (written == 0 || written >= length)
        return path;
    full.resize(written);
    return full;
}

bool isFile(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

std::string commandLinePicture(const char *commandLine)
{
    std::string named = commandLine != NULL ? commandLine : "";
    const std::string::size_type first = named.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    named.erase(0, first);
    if (named[0] == '"') {
        const std::string::size_type close = named.find('"', 1);
        named = named.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else {
        named.erase(named.find_last_not_of(" \t") + 1);
    }
    const std::string full = fullPath(named);
    return isFile(full) ? full : std::string();
}

std::string droppedFile(HDROP drop)
{
    const UINT length = DragQueryFileA(drop, 0, NULL, 0);
    std::string path(length + 1, '\0');
    const UINT copied = length > 0 ? DragQueryFileA(drop, 0, path.data(), length + 1) : 0;
    DragFinish(drop);
    path.resize(copied);
    return isFile(path) ? path : std::string();
}
