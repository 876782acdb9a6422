// A recording stand-in for winmm.dll, which the programs import for PlaySoundA alone: beside
// a program and loaded with WINEDLLOVERRIDES="winmm=n,b", it plays nothing and appends each
// call's resource id (-1 for a sound not given by id) and a space to the file named by
// SNOWQUILL_SOUND_LOG. Lean: the system's declaration of the function (mmsystem.h) stays out.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE, DWORD)
{
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA("SNOWQUILL_SOUND_LOG", path, sizeof(path));
    FILE *log = std::fopen(path, "ab");
    if (log != NULL) {
        const bool numbered = sound != NULL && IS_INTRESOURCE(sound);
        std::fprintf(log, "%d ", numbered ? static_cast<int>(reinterpret_cast<ULONG_PTR>(sound)) : -1);
        std::fclose(log);
    }
    return TRUE;
}
