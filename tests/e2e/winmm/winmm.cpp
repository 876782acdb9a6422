// A recording stand-in for winmm.dll, which the programs import for PlaySoundA alone: beside
// a program and loaded with WINEDLLOVERRIDES="winmm=n,b", it plays nothing and appends one line
// per call to the file named by SNOWQUILL_SOUND_LOG: "PlaySoundA <resource id, or -1> <flags>".
// Lean: the system's declaration of the function (mmsystem.h) stays out.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE, DWORD flags)
{
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("SNOWQUILL_SOUND_LOG", path, sizeof(path));
    FILE *log = length > 0 && length < sizeof(path) ? std::fopen(path, "ab") : NULL;
    if (log != NULL) {
        const bool numbered = sound != NULL && IS_INTRESOURCE(sound);
        std::fprintf(log, "PlaySoundA %d 0x%lx\r\n",
                     numbered ? static_cast<int>(reinterpret_cast<ULONG_PTR>(sound)) : -1,
                     static_cast<unsigned long>(flags));
        std::fclose(log);
    }
    return TRUE;
}
