// A stand-in help viewer, registered for .chm files by the help test: it appends its
// command line to the file named by SNOWQUILL_HELP_LOG.
#include <windows.h>

#include <fstream>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("SNOWQUILL_HELP_LOG", path, sizeof(path));
    if (length > 0 && length < sizeof(path))
        std::ofstream(path, std::ios::app) << GetCommandLineA() << "\n";
    return 0;
}
