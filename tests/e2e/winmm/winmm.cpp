// A recording stand-in for winmm.dll: beside a program and loaded with
// WINEDLLOVERRIDES="winmm=n,b", it plays nothing and appends one line per sound call to the
// file named by SNOWQUILL_SOUND_LOG: "<function> <id or -1> <flags> <own|none|other> <name or ->".
// Lean: the system's declarations of these functions (mmsystem.h) stay out.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

BOOL record(const char *function, const char *sound, HMODULE module, DWORD flags)
{
    char path[MAX_PATH];
    char line[400];
    const DWORD length = GetEnvironmentVariableA("SNOWQUILL_SOUND_LOG", path, sizeof(path));
    const bool numbered = IS_INTRESOURCE(sound);
    const char *kind = module == NULL ? "none" : (module == GetModuleHandleA(NULL) ? "own" : "other");
    std::snprintf(line, sizeof(line), "%s %d 0x%lx %s %.300s\r\n", function,
                  numbered && sound != NULL ? static_cast<int>(reinterpret_cast<ULONG_PTR>(sound)) : -1,
                  static_cast<unsigned long>(flags), kind, numbered ? "-" : sound);
    if (length == 0 || length >= sizeof(path))
        return TRUE;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, NULL);
        CloseHandle(file);
    }
    return TRUE;
}

} // namespace

extern "C" {
__declspec(dllexport) BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags)
{
    return record("PlaySoundA", sound, module, flags);
}
__declspec(dllexport) BOOL WINAPI sndPlaySoundA(LPCSTR sound, UINT flags)
{
    return record("sndPlaySoundA", sound, NULL, flags);
}
}
