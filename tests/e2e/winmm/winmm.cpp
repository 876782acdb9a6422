// A recording stand-in for winmm.dll. Placed beside a program and loaded with
// WINEDLLOVERRIDES="winmm=n,b", it receives the program's sound calls, appends one line
// per call to the file named by the environment variable SNOWQUILL_SOUND_LOG and plays
// nothing. Every call reports success.
//
// Line format (one call a line):
//   PlaySoundA id=2250 flags=0x00040005 module=own
//   PlaySoundA name="chimes.wav" flags=0x00020001 module=none
// id= for an integer resource name, name= for a string, sound=null for a NULL sound;
// module=own when the module handle is the calling program's, none for NULL, other else.
// Lean: the system's own declarations of these functions (mmsystem.h) must stay out.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const char *moduleKind(HMODULE module)
{
    if (module == NULL)
        return "none";
    return module == GetModuleHandleA(NULL) ? "own" : "other";
}

void appendLine(const char *line)
{
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("SNOWQUILL_SOUND_LOG", path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, NULL);
    CloseHandle(file);
}

void record(const char *function, const char *sound, HMODULE module, DWORD flags)
{
    char line[512];
    if (sound == NULL)
        std::snprintf(line, sizeof(line), "%s sound=null flags=0x%08lx module=%s\r\n", function,
                      static_cast<unsigned long>(flags), moduleKind(module));
    else if (IS_INTRESOURCE(sound))
        std::snprintf(line, sizeof(line), "%s id=%u flags=0x%08lx module=%s\r\n", function,
                      static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(sound)), static_cast<unsigned long>(flags),
                      moduleKind(module));
    else
        std::snprintf(line, sizeof(line), "%s name=\"%.300s\" flags=0x%08lx module=%s\r\n", function, sound,
                      static_cast<unsigned long>(flags), moduleKind(module));
    appendLine(line);
}

// Wide names are logged in their ASCII part only; the programs use the ANSI calls.
void narrow(const WCHAR *wide, char *out, size_t size)
{
    size_t i = 0;
    for (; wide[i] != 0 && i + 1 < size; ++i)
        out[i] = wide[i] < 128 ? static_cast<char>(wide[i]) : '?';
    out[i] = '\0';
}

void recordWide(const char *function, const WCHAR *sound, HMODULE module, DWORD flags)
{
    if (sound == NULL || IS_INTRESOURCE(sound)) {
        record(function, reinterpret_cast<const char *>(sound), module, flags);
        return;
    }
    char name[300];
    narrow(sound, name, sizeof(name));
    record(function, name, module, flags);
}

} // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags)
{
    record("PlaySoundA", sound, module, flags);
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags)
{
    recordWide("PlaySoundW", sound, module, flags);
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI sndPlaySoundA(LPCSTR sound, UINT flags)
{
    record("sndPlaySoundA", sound, NULL, flags);
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI sndPlaySoundW(LPCWSTR sound, UINT flags)
{
    recordWide("sndPlaySoundW", sound, NULL, flags);
    return TRUE;
}

} // extern "C"
