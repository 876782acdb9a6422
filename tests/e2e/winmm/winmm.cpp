// A recording stand-in for winmm.dll, which the programs import for PlaySoundA alone: beside
// a program and loaded with WINEDLLOVERRIDES="winmm=n,b", it plays nothing and appends each
// call's resource id (the programs play their sounds by id) and a space to the file named by
// SNOWQUILL_SOUND_LOG. Lean: the system's declaration of the function (mmsystem.h) stays out.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE, DWORD)
{
    wchar_t path[MAX_PATH] = {};
    GetEnvironmentVariableW(L"SNOWQUILL_SOUND_LOG", path, MAX_PATH);
    FILE *log = _wfopen(path, L"ab");
    if (log != NULL) {
        std::fprintf(log, "%lu ", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(sound)));
        std::fclose(log);
    }
    return TRUE;
}
