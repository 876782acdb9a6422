#include "driver.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace e2e {

namespace {

std::map<std::string, std::string> options;
std::string testName, currentGroup;
int checks = 0, failures = 0;
std::vector<HANDLE> started;

bool closes(HWND dialog, int ms)
{
    return waitFor([&]() { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, ms);
}
std::string fileName(Text path)
{
    return path.substr(path.find_last_of("\\/") + 1);
}

// A visible top-level window of the process with the class.
HWND topWindow(DWORD processId, const char *className)
{
    DWORD owner = 0;
    HWND window = NULL;
    while ((window = FindWindowExA(NULL, window, className, NULL)) != NULL)
        if (GetWindowThreadProcessId(window, &owner) && owner == processId && IsWindowVisible(window))
            return window;
    return NULL;
}

} // namespace

void init(int argc, char **argv, const char *name)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const size_t equals = argument.find('=');
        options[argument.substr(2, equals - 2)] = equals == std::string::npos ? "1" : argument.substr(equals + 1);
    }
    std::printf("%s; programs under test: %s\n", (testName = name).c_str(), option("game").c_str());
}

std::string option(const char *key)
{
    return options.count(key) != 0 ? options[key] : std::string();
}
bool fileExists(Text path)
{
    return (GetFileAttributesA(windowsPath(path).c_str()) & 0x80000010) == 0;
}
bool copyFile(Text from, Text to)
{
    return CopyFileA(windowsPath(from).c_str(), windowsPath(to).c_str(), FALSE);
}

std::string requiredOption(const char *key)
{
    if (option(key).empty())
        fatal(std::string("no --") + key + "=...");
    return option(key);
}

std::string windowsPath(Text path)
{
    std::string result = (path.rfind('/', 0) == 0 ? "Z:" : "") + path;
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

bool readFile(Text path, std::string &contents)
{
    std::ifstream file(windowsPath(path), std::ios::binary);
    contents.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return file.is_open();
}

bool writeFile(Text path, Text contents)
{
    std::ofstream file(windowsPath(path), std::ios::binary);
    return file.write(contents.data(), static_cast<std::streamsize>(contents.size())).flush().good();
}

bool removeTree(Text path)
{
    const std::string full = windowsPath(path) + '\0';
    SHFILEOPSTRUCTA operation = {NULL, FO_DELETE, full.c_str(), NULL, FOF_NO_UI, FALSE, NULL, NULL};
    return SHFileOperationA(&operation) == 0 || GetFileAttributesA(full.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::string freshFolder(Text name)
{
    const std::string folder = joinPath(requiredOption("work"), name);
    if (!removeTree(folder) || SHCreateDirectoryExA(NULL, folder.c_str(), NULL) != 0)
        fatal("no folder " + folder);
    return folder;
}

void group(Text name)
{
    std::printf("- %s\n", (currentGroup = name).c_str());
}
bool checkText(Text actual, Text expected, Text what)
{
    return check(actual == expected, what + ": got \"" + actual + "\", expected \"" + expected + "\"");
}
void fatal(Text what)
{
    check(false, "cannot go on: " + what), std::exit(finish());
}

bool check(bool ok, Text what)
{
    checks += 1, failures += ok ? 0 : 1;
    if (!ok)
        std::printf("  FAIL [%s]: %s\n", currentGroup.c_str(), what.c_str());
    return std::fflush(stdout), ok;
}

int finish()
{
    for (HANDLE process : started)
        TerminateProcess(process, 99), WaitForSingleObject(process, 5000);
    std::printf("%s: %d checks, %d failed\n", testName.c_str(), checks, failures);
    return std::fflush(stdout), started.clear(), failures == 0 ? 0 : 1;
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    for (const DWORD begun = GetTickCount(); !condition(); Sleep(10))
        if (static_cast<int>(GetTickCount() - begun) >= timeoutMs)
            return condition();
    return true;
}

bool start(Program &program, Text sourceExe, Text folder, const StartOptions &startOptions)
{
    program = Program{{}, windowsPath(folder), joinPath(folder, fileName(sourceExe)), joinPath(folder, "sounds.log")};
    std::vector<std::string> files = startOptions.extraFiles;
    if (startOptions.recordSounds)
        files.push_back(requiredOption("winmm"));
    bool ready = SHCreateDirectoryExA(NULL, program.folder.c_str(), NULL) >= 0 && copyFile(sourceExe, program.exe);
    for (Text file : files)
        ready = ready && copyFile(file, joinPath(folder, fileName(file)));
    DeleteFileA(program.soundLog.c_str());
    SetEnvironmentVariableA("SNOWQUILL_SOUND_LOG", startOptions.recordSounds ? program.soundLog.c_str() : NULL);
    std::string line = "\"" + program.exe + "\" " + startOptions.arguments, at = windowsPath(startOptions.currentDir);
    STARTUPINFOA startup = {sizeof(startup), NULL, NULL, NULL, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL};
    ready = ready && CreateProcessA(program.exe.c_str(), &line[0], NULL, NULL, FALSE, 0, NULL,
                                    (at.empty() ? program.folder : at).c_str(), &startup, &program.process);
    return check(ready, "start " + program.exe) && (started.push_back(program.process.hProcess), true);
}

HWND waitForWindow(Program &program, const char *className, int timeoutMs)
{
    waitFor([&]() { return (program.window = topWindow(program.process.dwProcessId, className)) != NULL; }, timeoutMs);
    return program.window;
}

long waitForExit(Program &program, int timeoutMs)
{
    DWORD code = 0;
    const bool ended = WaitForSingleObject(program.process.hProcess, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
    return ended && GetExitCodeProcess(program.process.hProcess, &code) ? static_cast<long>(code) : -1;
}

bool sent(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, static_cast<UINT>(timeoutMs), &result);
}

bool sendTimer(HWND window, UINT_PTR id, int count)
{
    while (count-- > 0)
        if (!sent(window, WM_TIMER, id, 0))
            return false;
    return true;
}

std::string text(HWND window)
{
    char buffer[512] = {};
    return sent(window, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer)), buffer;
}

Image captureBitmap(HDC dc, HBITMAP bitmap)
{
    BITMAP b = {};
    GetObjectA(bitmap, sizeof(b), &b);
    Image image{b.bmWidth, b.bmHeight, std::vector<uint32_t>(static_cast<size_t>(b.bmWidth) * b.bmHeight)};
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), image.width, -image.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(image.height), image.pixels.data(), &info, DIB_RGB_COLORS);
    for (uint32_t &pixel : image.pixels)
        pixel &= 0xFFFFFFu;
    return image;
}

Image captureWindow(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    HDC screen = GetDC(NULL), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    const Image image = (SelectObject(memory, previous), captureBitmap(memory, bitmap));
    return DeleteObject(bitmap), DeleteDC(memory), ReleaseDC(NULL, screen), image;
}

// Any BMP file the platform reads.
bool loadBmp(Text path, Image &image)
{
    HANDLE bitmap = LoadImageA(NULL, windowsPath(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    HDC screen = GetDC(NULL);
    image = bitmap != NULL ? captureBitmap(screen, static_cast<HBITMAP>(bitmap)) : Image();
    return ReleaseDC(NULL, screen), DeleteObject(bitmap), bitmap != NULL;
}

std::string bmpFile(int width, int height, int bits, int compression, int length)
{
    std::string pixels(std::max(length, 0), 'x'), head(54 + (bits <= 8 ? 4 << bits : 0), '\0');
    for (int y = 0; y < height && length < 0; ++y) {
        for (int x = 0; x < (compression != 0 ? width / 8 : (width * bits + 31) / 32 * 4); ++x)
            pixels += (compression != 0 ? "\x08" : "") + std::string(1, static_cast<char>((x * 7 + y * 29) ^ (x * y)));
        pixels += compression != 0 ? std::string(y + 1 < height ? "\0\0" : "\0\1", 2) : "";
    }
    const int all = static_cast<int>(head.size()), size = static_cast<int>(pixels.size());
    // From byte 2, four bytes each: the file's size, 0, the pixels' offset, the header's size,
    // width, height, planes and bits, compression, the pixels' size, resolutions, colours.
    const int fields[] = {all + size, 0, all, 40, width, height, 1 | bits << 16, compression, size, 0, 0, 0, 0};
    for (size_t i = 2; i < head.size(); ++i)
        head[i] = static_cast<char>(i < 54 ? fields[(i - 2) / 4] >> (8 * ((i - 2) % 4)) : i * 37);
    return "BM" + head.substr(2) + pixels;
}

Image stretchedFile(Text path, int piece, int size)
{
    HBITMAP picture = loadPicture(path);
    BITMAP b = {};
    GetObjectA(picture, sizeof(b), &b);
    const int w = b.bmWidth, h = b.bmHeight, x[4] = {0, w / 4, w / 2, w - w / 4}, y[4] = {0, h / 4, h / 2, h - h / 4};
    HDC screen = GetDC(NULL), from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    HBITMAP out = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ oldFrom = SelectObject(from, picture), oldTo = SelectObject(to, out);
    PatBlt(to, 0, 0, size, size, BLACKNESS);
    if (piece == 0 && SetStretchBltMode(to, HALFTONE) != 0 && SetBrushOrgEx(to, 0, 0, NULL) != 0)
        StretchBlt(to, 0, 0, size, size, from, 0, 0, w, h, SRCCOPY);
    else if (piece != 0)
        StretchBlt(to, 0, 0, size, size, from, x[(piece - 1) % 4], y[(piece - 1) / 4], w / 4, h / 4, SRCCOPY);
    SelectObject(from, oldFrom), SelectObject(to, oldTo);
    const Image image = captureBitmap(to, out);
    DeleteObject(out), DeleteObject(picture), DeleteDC(from), DeleteDC(to), ReleaseDC(NULL, screen);
    return image;
}

bool saveBmp(Text path, const Image &image)
{
    const uint32_t w = image.width, h = image.height, row = (w * 3 + 3) / 4 * 4,
                   fields[] = {54 + row * h, 0, 54, 40, w, h, 1 | 24 << 16, 0, row * h, 0, 0, 0, 0};
    std::string data = "BM" + std::string(reinterpret_cast<const char *>(fields), sizeof(fields));
    for (uint32_t y = h; y-- > 0; data.append(row - w * 3, '\0'))
        for (uint32_t x = 0; x < w; ++x)
            data.append(reinterpret_cast<const char *>(&image.pixels[y * w + x]), 3);
    return writeFile(path, data);
}

double matchShare(const Image &actual, const Image &expected, int tolerance)
{
    auto channel = [](uint32_t pixel, int shift) { return static_cast<int>(pixel >> shift & 0xFF); };
    size_t matching = 0;
    for (size_t i = 0; actual.width == expected.width && actual.height == expected.height && i < actual.pixels.size();
         ++i) {
        int worst = 0;
        for (int shift = 0; shift <= 16; shift += 8)
            worst = std::max(worst, std::abs(channel(actual.pixels[i], shift) - channel(expected.pixels[i], shift)));
        matching += worst <= tolerance ? 1 : 0;
    }
    return matching == 0 ? 0.0 : static_cast<double>(matching) / static_cast<double>(actual.pixels.size());
}

void keepImage(const Image &image, Text name)
{
    const std::string path = joinPath(requiredOption("work"), name + ".bmp");
    std::printf(saveBmp(path, image) ? "    (kept what was seen in %s)\n" : "    (could not keep %s)\n", path.c_str());
}

HWND waitForDialog(DWORD processId, int timeoutMs)
{
    HWND found = NULL;
    return waitFor([&]() { return (found = topWindow(processId, "#32770")) != NULL; }, timeoutMs), found;
}

bool chooseFile(HWND dialog, Text path, int timeoutMs)
{
    HWND box = NULL;
    const std::string name = windowsPath(path);
    return waitFor([&]() { return (box = FindWindowExA(dialog, NULL, "ComboBoxEx32", NULL)) != NULL; }, timeoutMs) &&
           sent(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()), timeoutMs) &&
           PostMessageA(dialog, WM_COMMAND, IDOK, 0) && closes(dialog, timeoutMs);
}

bool cancelDialog(HWND dialog, int timeoutMs)
{
    return PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0) && closes(dialog, timeoutMs);
}

// The sound log has a line a call, such as "PlaySoundA 2250 0x40005".
std::string newSoundIds(Program &program)
{
    std::string contents, line, function, id, ids;
    std::istringstream lines((readFile(program.soundLog, contents), contents));
    for (size_t number = 0; std::getline(lines, line); ++number)
        if (number >= program.soundsRead && std::istringstream(line) >> function >> id)
            ids += (ids.empty() ? "" : " ") + id, program.soundsRead = number + 1;
    return ids;
}

} // namespace e2e
