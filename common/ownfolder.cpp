#include "ownfolder.h"

#include <windows.h>

std::wstring programFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = GetModuleFileName(NULL, path.data(), static_cast<DWORD>(path.size()));
    // A name that doesn't fit comes back cut to the room given: ask again with twice the room.
    while (length >= path.size()) {
        path.resize(path.size() * 2);
        length = GetModuleFileName(NULL, path.data(), static_cast<DWORD>(path.size()));
    }
    path.resize(length);
    return path.substr(0, path.rfind(L'\\') + 1); // npos + 1 is 0: no backslash, no folder
}

bool writeNewFile(const std::wstring &path, const void *data, unsigned long size)
{
    HANDLE file = CreateFile(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole = WriteFile(file, data, size, &written, NULL) && written == size;
    CloseHandle(file);
    if (!whole)
        DeleteFile(path.c_str());
    return whole;
}
