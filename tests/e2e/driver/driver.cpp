#include "driver.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace e2e {

namespace {

std::map<string, string> options;
string testName;
string currentGroup;
int checks = 0;
int failures = 0;
std::vector<HANDLE> started;

bool sent(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result) != 0;
}

// A path as the platform names it: "W" functions take its c_str().
std::filesystem::path native(Text path)
{
    return std::filesystem::u8path(windowsPath(path));
}

// Waits for a visible top-level window of the process with the class (NULL: any).
HWND waitForTop(DWORD processId, const char *className, int timeoutMs)
{
    HWND found = NULL;
    waitFor(
        [&]() {
            found = FindWindowExA(NULL, NULL, className, NULL);
            while (found != NULL) {
                DWORD owner = 0;
                GetWindowThreadProcessId(found, &owner);
                if (owner == processId && IsWindowVisible(found))
                    return true;
                found = FindWindowExA(NULL, found, className, NULL);
            }
            return false;
        },
        timeoutMs);
    return found;
}

// Posts a dialog's button command and waits until the dialog is gone.
bool closeDialog(HWND dialog, int command, int timeoutMs)
{
    PostMessageA(dialog, WM_COMMAND, command, 0);
    return waitFor([&]() { return !IsWindowVisible(dialog); }, timeoutMs);
}

// True while the window or one of its controls still has something to paint.
bool paintPending(HWND window)
{
    if (GetUpdateRect(window, NULL, FALSE))
        return true;
    for (HWND control = GetWindow(window, GW_CHILD); control != NULL; control = GetWindow(control, GW_HWNDNEXT))
        if (GetUpdateRect(control, NULL, FALSE))
            return true;
    return false;
}

} // namespace

void init(int argc, char **argv, const char *name)
{
    testName = name;
    setvbuf(stdout, NULL, _IONBF, 0); // every line out at once, even when the test is cut short
    for (int i = 1; i < argc; ++i) {
        const string argument = argv[i];
        const size_t equals = argument.find('=');
        options[argument.substr(2, equals - 2)] = argument.substr(equals + 1);
    }
}

string option(const char *key)
{
    return options[key];
}

string requiredOption(const char *key)
{
    if (!check(!options[key].empty(), string("no --") + key))
        std::exit(finish());
    return options[key];
}

string windowsPath(Text path)
{
    string result = path[0] == '/' ? "Z:" + path : path;
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

std::wstring widePath(Text path)
{
    return native(path).wstring();
}

string joinPath(Text folder, Text name)
{
    return windowsPath(folder) + "\\" + name;
}

bool fileExists(Text path)
{
    return GetFileAttributesW(native(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

string fileText(Text path)
{
    std::ifstream file(native(path), std::ios::binary);
    return string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool writeFile(Text path, Text contents)
{
    std::ofstream file(native(path), std::ios::binary);
    file << contents;
    file.close();
    return !file.fail();
}

bool copyFile(Text from, Text to)
{
    return CopyFileW(native(from).c_str(), native(to).c_str(), FALSE) != 0;
}

string freshFolder(Text name)
{
    const string folder = joinPath(requiredOption("work"), name);
    std::error_code ignored;
    std::filesystem::remove_all(native(folder), ignored);
    std::filesystem::create_directories(native(folder), ignored);
    return folder;
}

string picture(Text name)
{
    return joinPath(requiredOption("pictures"), name);
}

void group(Text name)
{
    currentGroup = name;
    std::printf("- %s\n", name.c_str());
}

bool check(bool ok, Text what)
{
    checks += 1;
    if (!ok) {
        failures += 1;
        std::printf("  FAIL [%s]: %s\n", currentGroup.c_str(), what.c_str());
    }
    return ok;
}

bool checkText(Text actual, Text expected, Text what)
{
    return check(actual == expected, what + ": got " + actual + ", expected " + expected);
}

int finish()
{
    for (HANDLE process : started) {
        TerminateProcess(process, 99);
        WaitForSingleObject(process, 5000);
    }
    std::printf("%s: %d checks, %d failed\n", testName.c_str(), checks, failures);
    return failures > 0 ? 1 : 0;
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    const DWORD begun = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - begun >= static_cast<DWORD>(timeoutMs))
            return false;
        Sleep(10);
    }
    return true;
}

bool start(Program &program, Text sourceExe, Text folder, const StartOptions &startOptions)
{
    const string in = windowsPath(folder);
    const string exe = in + "\\" + sourceExe.substr(sourceExe.find_last_of("\\/") + 1);
    const string at = windowsPath(startOptions.currentDir.empty() ? folder : startOptions.currentDir);
    program = Program();
    program.soundLog = in + "\\sounds.log";
    SHCreateDirectoryExW(NULL, native(in).c_str(), NULL);
    copyFile(option("winmm"), in + "\\winmm.dll");
    DeleteFileW(native(program.soundLog).c_str());
    SetEnvironmentVariableW(L"SNOWQUILL_SOUND_LOG", native(program.soundLog).c_str());
    std::wstring line = std::filesystem::u8path("\"" + exe + "\" " + startOptions.arguments).wstring();
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    const bool ready =
        copyFile(sourceExe, exe) && CreateProcessW(native(exe).c_str(), line.data(), NULL, NULL, FALSE, 0, NULL,
                                                   native(at).c_str(), &startup, &program.process) != 0;
    if (ready)
        started.push_back(program.process.hProcess);
    return check(ready, "start " + exe);
}

HWND waitForWindow(Program &program, const char *className, int timeoutMs)
{
    program.window = waitForTop(program.process.dwProcessId, className, timeoutMs);
    return program.window;
}

void terminate(Program &program)
{
    TerminateProcess(program.process.hProcess, 99);
    WaitForSingleObject(program.process.hProcess, 5000);
}

string text(HWND window)
{
    wchar_t buffer[512] = {};
    sent(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), 5000);
    return std::filesystem::path(buffer).u8string();
}

bool click(HWND button, int timeoutMs)
{
    return sent(button, BM_CLICK, 0, 0, timeoutMs);
}

void clickPosted(HWND button)
{
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void pressKey(const Program &program, BYTE key, bool control)
{
    SetForegroundWindow(program.window);
    if (control)
        keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    if (control)
        keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
}

Image captureWindow(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    Image image;
    image.width = r.right - r.left;
    image.height = r.bottom - r.top;
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), image.width, -image.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void *bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HDC to = CreateCompatibleDC(NULL);
    HDC screen = GetDC(NULL);
    SelectObject(to, bitmap);
    BitBlt(to, 0, 0, image.width, image.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto *pixels = static_cast<const uint32_t *>(bits);
    for (int i = 0; i < image.width * image.height; ++i)
        image.pixels.push_back(pixels[i] & 0xFFFFFF);
    ReleaseDC(NULL, screen);
    DeleteDC(to); // before the bitmap it holds
    DeleteObject(bitmap);
    return image;
}

// The program paints what is left to paint by itself; the message sent at the end returns once
// its last paint is over.
void settle(HWND window)
{
    while (paintPending(window))
        Sleep(1);
    SendMessageA(window, WM_NULL, 0, 0);
}

// Gradients across and down, and a grain that stands in for a photo's texture: from byte 2,
// four bytes each: the file's size, 0, the pixels' offset, the header's size, width, height,
// planes and bits, compression, the pixels' size, resolutions, colours.
string bmpFile(int width, int height)
{
    const int row = (width * 3 + 3) / 4 * 4;
    string pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int grain = static_cast<int>((static_cast<uint32_t>(x) * 2654435761U ^ y * 40503U) >> 27);
            pixels += static_cast<char>(40 + x * 160 / width + grain);
            pixels += static_cast<char>(40 + y * 160 / height + grain);
            pixels += static_cast<char>(200 - (x + y) * 160 / (width + height) + grain);
        }
        pixels += string(row - width * 3, '\0');
    }
    const int size = static_cast<int>(pixels.size());
    const int fields[] = {54 + size, 0, 54, 40, width, height, 1 | 24 << 16, 0, size, 0, 0, 0, 0};
    return "BM" + string(reinterpret_cast<const char *>(fields), sizeof(fields)) + pixels;
}

HWND waitForDialog(DWORD processId, int timeoutMs)
{
    return waitForTop(processId, "#32770", timeoutMs);
}

// The file-name box of the open-file dialog is its one ComboBoxEx32.
bool chooseFile(HWND dialog, Text path, int timeoutMs)
{
    HWND box = FindWindowExA(dialog, NULL, "ComboBoxEx32", NULL);
    const std::wstring name = widePath(path);
    return sent(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()), timeoutMs) &&
           closeDialog(dialog, IDOK, timeoutMs);
}

bool choose(const Program &program, int buttonId, Text path)
{
    clickPosted(GetDlgItem(program.window, buttonId));
    const HWND dialog = waitForDialog(program.process.dwProcessId);
    return chooseFile(dialog, path);
}

// The sound log holds each call's resource id and a space: "4600 2250 ".
string newSoundIds(Program &program)
{
    const string contents = fileText(program.soundLog);
    string ids = contents.substr(std::min(program.soundsRead, contents.size()));
    program.soundsRead = contents.size();
    if (!ids.empty())
        ids.pop_back();
    return ids;
}

} // namespace e2e
