// A stand-in help viewer. The tests point the prefix's association for .chm files at it;
// it appends its command line to the file named by SNOWQUILL_HELP_LOG (one line per
// start), then stays open for SNOWQUILL_HELP_HOLD_MS milliseconds (0 when unset), like a
// viewer the user has not closed yet.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("SNOWQUILL_HELP_LOG", path, sizeof(path));
    if (length > 0 && length < sizeof(path)) {
        HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            const char *line = GetCommandLineA();
            DWORD written = 0;
            WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, NULL);
            WriteFile(file, "\r\n", 2, &written, NULL);
            CloseHandle(file);
        }
    }
    char hold[32];
    const DWORD holdLength = GetEnvironmentVariableA("SNOWQUILL_HELP_HOLD_MS", hold, sizeof(hold));
    if (holdLength > 0 && holdLength < sizeof(hold))
        Sleep(static_cast<DWORD>(std::strtoul(hold, NULL, 10)));
    return 0;
}
