#include "driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace e2e {

namespace {

std::map<std::string, std::string> options;
std::string testName = "test";
std::string currentContext;
std::string currentGroup;
std::string lastReportedGroup;
int passes = 0;
DWORD startedAt = 0;
int failures = 0;
std::vector<HANDLE> startedProcesses;

void printFailure(const std::string &what)
{
    if (currentGroup != lastReportedGroup) {
        std::printf("[%s]\n", currentGroup.c_str());
        lastReportedGroup = currentGroup;
    }
    std::printf("  FAIL: %s", what.c_str());
    if (!currentContext.empty())
        std::printf("  (while: %s)", currentContext.c_str());
    std::printf("\n");
    std::fflush(stdout);
}

void endStartedProcesses()
{
    for (HANDLE process : startedProcesses) {
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
    startedProcesses.clear();
}

std::string lower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

// ---- Options, paths and files ----

void init(int argc, char **argv, const char *name)
{
    testName = name;
    startedAt = GetTickCount();
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.compare(0, 2, "--") != 0)
            continue;
        const std::string::size_type equals = argument.find('=');
        if (equals == std::string::npos)
            options[argument.substr(2)] = "1";
        else
            options[argument.substr(2, equals - 2)] = argument.substr(equals + 1);
    }
    std::printf("%s\n", testName.c_str());
    std::fflush(stdout);
}

std::string option(const char *key)
{
    const auto found = options.find(key);
    return found == options.end() ? std::string() : found->second;
}

std::string requiredOption(const char *key)
{
    const std::string value = option(key);
    if (value.empty())
        fatal(std::string("the option --") + key + "=... is missing");
    return value;
}

std::string windowsPath(const std::string &path)
{
    std::string result = path;
    std::replace(result.begin(), result.end(), '/', '\\');
    if (!path.empty() && path[0] == '/')
        result = "Z:" + result;
    return result;
}

std::string joinPath(const std::string &folder, const std::string &name)
{
    if (folder.empty())
        return name;
    const char last = folder[folder.size() - 1];
    return last == '\\' || last == '/' ? folder + name : folder + "\\" + name;
}

std::string fileNamePart(const std::string &path)
{
    const std::string::size_type slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool fileExists(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(windowsPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(windowsPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool readFile(const std::string &path, std::string &contents)
{
    contents.clear();
    HANDLE file = CreateFileA(windowsPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    for (;;) {
        if (!ReadFile(file, buffer, sizeof(buffer), &got, NULL)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        contents.append(buffer, got);
    }
    CloseHandle(file);
    return ok;
}

bool writeFile(const std::string &path, const std::string &contents)
{
    HANDLE file =
        CreateFileA(windowsPath(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, NULL);
    CloseHandle(file);
    return ok && written == contents.size();
}

bool copyFile(const std::string &from, const std::string &to)
{
    return CopyFileA(windowsPath(from).c_str(), windowsPath(to).c_str(), FALSE) != 0;
}

bool makeFolders(const std::string &path)
{
    const std::string full = windowsPath(path);
    for (std::string::size_type i = 3; i <= full.size(); ++i) {
        if (i == full.size() || full[i] == '\\') {
            const std::string part = full.substr(0, i);
            if (!folderExists(part) && !CreateDirectoryA(part.c_str(), NULL) && !folderExists(part))
                return false;
        }
    }
    return true;
}

bool removeTree(const std::string &path)
{
    const std::string full = windowsPath(path);
    if (!folderExists(full))
        return !fileExists(full) || DeleteFileA(full.c_str());
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((full + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string inner = full + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(inner);
            } else {
                SetFileAttributesA(inner.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(inner.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryA(full.c_str()) != 0;
}

std::string freshFolder(const std::string &name)
{
    const std::string folder = joinPath(windowsPath(requiredOption("work")), name);
    removeTree(folder);
    if (!makeFolders(folder))
        fatal("could not create the folder " + folder);
    return folder;
}

// ---- Checks and the report ----

void context(const std::string &text) { currentContext = text; }

void group(const std::string &name)
{
    currentGroup = name;
    currentContext.clear();
    std::printf("- %s\n", name.c_str());
    std::fflush(stdout);
    lastReportedGroup = name;
}

bool check(bool ok, const std::string &what)
{
    if (ok)
        ++passes;
    else {
        ++failures;
        printFailure(what);
    }
    return ok;
}

bool checkEqual(long long actual, long long expected, const std::string &what)
{
    if (actual == expected)
        return check(true, what);
    return check(false, what + ": got " + std::to_string(actual) + ", expected " + std::to_string(expected));
}

bool checkText(const std::string &actual, const std::string &expected, const std::string &what)
{
    if (actual == expected)
        return check(true, what);
    return check(false, what + ": got \"" + actual + "\", expected \"" + expected + "\"");
}

void fatal(const std::string &what)
{
    ++failures;
    printFailure("cannot go on: " + what);
    endStartedProcesses();
    std::printf("%s: stopped after %d checks, %d failed\n", testName.c_str(), passes + failures, failures);
    std::fflush(stdout);
    std::exit(1);
}

int finish()
{
    endStartedProcesses();
    std::printf("%s: %d checks, %d failed, %.1f s\n", testName.c_str(), passes + failures, failures,
                (GetTickCount() - startedAt) / 1000.0);
    std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}

int failureCount() { return failures; }

// ---- Waiting with deadlines ----

DWORD now() { return GetTickCount(); }

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    const DWORD started = now();
    for (;;) {
        if (condition())
            return true;
        if (static_cast<int>(now() - started) >= timeoutMs)
            return condition();
        Sleep(10);
    }
}

bool holds(const std::function<bool()> &condition, int durationMs)
{
    const DWORD started = now();
    for (;;) {
        if (!condition())
            return false;
        if (static_cast<int>(now() - started) >= durationMs)
            return true;
        Sleep(20);
    }
}

// ---- Programs ----

bool start(Program &program, const std::string &sourceExe, const std::string &folder, const StartOptions &startOptions)
{
    program = Program();
    program.folder = windowsPath(folder);
    if (!makeFolders(program.folder)) {
        check(false, "could not create " + program.folder);
        return false;
    }
    program.exe = joinPath(program.folder, fileNamePart(windowsPath(sourceExe)));
    if (!copyFile(sourceExe, program.exe)) {
        check(false, "could not copy " + sourceExe + " to " + program.exe);
        return false;
    }
    for (const std::string &extra : startOptions.extraFiles)
        if (!copyFile(extra, joinPath(program.folder, fileNamePart(windowsPath(extra))))) {
            check(false, "could not copy " + extra + " beside the program");
            return false;
        }
    if (startOptions.recordSounds) {
        if (!copyFile(requiredOption("winmm"), joinPath(program.folder, "winmm.dll"))) {
            check(false, "could not copy the recording winmm.dll beside the program");
            return false;
        }
        program.soundLog = joinPath(program.folder, "sounds.log");
        DeleteFileA(program.soundLog.c_str());
        SetEnvironmentVariableA("SNOWQUILL_SOUND_LOG", program.soundLog.c_str());
    } else {
        SetEnvironmentVariableA("SNOWQUILL_SOUND_LOG", NULL);
    }
    for (const auto &variable : startOptions.environment)
        SetEnvironmentVariableA(variable.first.c_str(), variable.second.c_str());

    std::string commandLine = "\"" + program.exe + "\"";
    std::vector<char> commandBuffer(commandLine.begin(), commandLine.end());
    commandBuffer.push_back('\0');
    const std::string currentDir =
        startOptions.currentDir.empty() ? program.folder : windowsPath(startOptions.currentDir);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (startOptions.showCommand >= 0) {
        startup.dwFlags |= STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(startOptions.showCommand);
    }
    const BOOL started = CreateProcessA(program.exe.c_str(), commandBuffer.data(), NULL, NULL, FALSE, 0, NULL,
                                        currentDir.c_str(), &startup, &program.process);
    for (const auto &variable : startOptions.environment)
        SetEnvironmentVariableA(variable.first.c_str(), NULL);
    if (!started) {
        check(false, "could not start " + program.exe + " (error " + std::to_string(GetLastError()) + ")");
        return false;
    }
    startedProcesses.push_back(program.process.hProcess);
    CloseHandle(program.process.hThread);
    program.process.hThread = NULL;
    return true;
}

HWND waitForWindow(Program &program, const char *className, int timeoutMs)
{
    HWND found = NULL;
    waitFor(
        [&]() {
            for (HWND window : topWindows(program.process.dwProcessId, className))
                if (IsWindowVisible(window)) {
                    found = window;
                    return true;
                }
            return !isRunning(program);
        },
        timeoutMs);
    program.window = found;
    return found;
}

bool isRunning(const Program &program)
{
    return program.process.hProcess != NULL && WaitForSingleObject(program.process.hProcess, 0) == WAIT_TIMEOUT;
}

long waitForExit(Program &program, int timeoutMs)
{
    if (program.process.hProcess == NULL)
        return -1;
    if (WaitForSingleObject(program.process.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(program.process.hProcess, &code);
    return static_cast<long>(code);
}

void terminate(Program &program)
{
    if (isRunning(program)) {
        TerminateProcess(program.process.hProcess, 99);
        WaitForSingleObject(program.process.hProcess, 5000);
    }
}

// ---- Windows and controls ----

HWND child(HWND parent, int id)
{
    for (HWND window : children(parent))
        if (GetDlgCtrlID(window) == id)
            return window;
    return NULL;
}

namespace {

struct DescendantSearch {
    int id;
    HWND found;
};

BOOL CALLBACK findDescendant(HWND window, LPARAM data)
{
    DescendantSearch *search = reinterpret_cast<DescendantSearch *>(data);
    if (GetDlgCtrlID(window) == search->id) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct TopSearch {
    DWORD processId;
    const char *className;
    std::vector<HWND> found;
};

BOOL CALLBACK findTop(HWND window, LPARAM data)
{
    TopSearch *search = reinterpret_cast<TopSearch *>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && (search->className == NULL || className(window) == search->className))
        search->found.push_back(window);
    return TRUE;
}

} // namespace

HWND descendant(HWND parent, int id)
{
    DescendantSearch search = {id, NULL};
    EnumChildWindows(parent, findDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> children(HWND parent)
{
    std::vector<HWND> result;
    for (HWND window = GetWindow(parent, GW_CHILD); window != NULL; window = GetWindow(window, GW_HWNDNEXT))
        result.push_back(window);
    return result;
}

std::string className(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string text(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length))
        return "<no answer>";
    std::vector<char> buffer(length + 2, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL,
                             5000, &copied))
        return "<no answer>";
    return std::string(buffer.data());
}

bool setText(HWND window, const std::string &value)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()), SMTO_NORMAL, 5000,
                               &result) != 0;
}

LONG style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }

RECT screenRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT rectInClient(HWND window, HWND parent)
{
    RECT rect = screenRect(window);
    MapWindowPoints(NULL, parent, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

std::string describe(const RECT &rect)
{
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ") " +
           std::to_string(rect.right - rect.left) + " x " + std::to_string(rect.bottom - rect.top);
}

std::vector<HWND> topWindows(DWORD processId, const char *wantedClass)
{
    TopSearch search = {processId, wantedClass, {}};
    EnumWindows(findTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool click(HWND button, int timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeoutMs), &result) != 0;
}

void postMouse(HWND window, UINT message, int x, int y, WPARAM keys)
{
    PostMessageA(window, message, keys, MAKELPARAM(x, y));
}

void clickPosted(HWND button)
{
    RECT client = {};
    GetClientRect(button, &client);
    const int x = client.right / 2;
    const int y = client.bottom / 2;
    postMouse(button, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    postMouse(button, WM_LBUTTONUP, x, y, 0);
}

bool sendTimer(HWND window, UINT_PTR id, int count)
{
    for (int i = 0; i < count; ++i) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(window, WM_TIMER, id, 0, SMTO_NORMAL, 5000, &result))
            return false;
    }
    return true;
}

namespace {

void sendMouseInput(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
}

void movePointer(int x, int y)
{
    SetCursorPos(x, y);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // Absolute input runs from 0 to 65535 over the screen.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = static_cast<LONG>((x * 65536LL + width / 2) / width);
    input.mi.dy = static_cast<LONG>((y * 65536LL + height / 2) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(INPUT));
}

} // namespace

void realDrag(int x, int y, int dx, int dy)
{
    movePointer(x, y);
    Sleep(50);
    sendMouseInput(MOUSEEVENTF_LEFTDOWN);
    Sleep(100);
    const int steps = 5;
    for (int i = 1; i <= steps && (dx != 0 || dy != 0); ++i) {
        movePointer(x + dx * i / steps, y + dy * i / steps);
        Sleep(40);
    }
    sendMouseInput(MOUSEEVENTF_LEFTUP);
    Sleep(50);
}

// ---- Pixels ----

Image makeImage(int width, int height, uint32_t colour)
{
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * height, colour);
    return image;
}

namespace {

// The layout of an Image's pixels for GDI: 32-bit, rows from the top down.
BITMAPINFO pixelLayout(const Image &image)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

} // namespace

Image captureScreen(const RECT &rect)
{
    Image image = makeImage(rect.right - rect.left, rect.bottom - rect.top);
    if (image.width <= 0 || image.height <= 0)
        return Image();
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = pixelLayout(image);
    void *bits = NULL;
    HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (section != NULL && bits != NULL) {
        HGDIOBJ previous = SelectObject(memory, section);
        BitBlt(memory, 0, 0, image.width, image.height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        const uint32_t *source = static_cast<const uint32_t *>(bits);
        for (size_t i = 0; i < image.pixels.size(); ++i)
            image.pixels[i] = source[i] & 0x00FFFFFFu;
        SelectObject(memory, previous);
        DeleteObject(section);
    }
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return image;
}

Image captureWindow(HWND window) { return captureScreen(screenRect(window)); }

namespace {

uint32_t readLittle(const std::string &data, size_t offset, int bytes)
{
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(data[offset + static_cast<size_t>(i)]);
    return value;
}

void putLittle(std::string &data, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        data.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

bool loadBmp(const std::string &path, Image &image)
{
    std::string data;
    if (!readFile(path, data) || data.size() < 54 || data[0] != 'B' || data[1] != 'M')
        return false;
    const uint32_t pixelOffset = readLittle(data, 10, 4);
    const int width = static_cast<int32_t>(readLittle(data, 18, 4));
    const int signedHeight = static_cast<int32_t>(readLittle(data, 22, 4));
    const int bits = static_cast<int>(readLittle(data, 28, 2));
    const uint32_t compression = readLittle(data, 30, 4);
    if (width <= 0 || signedHeight == 0 || (bits != 24 && bits != 32) || (compression != 0 && compression != 3))
        return false;
    const int height = signedHeight < 0 ? -signedHeight : signedHeight;
    const size_t rowBytes = (static_cast<size_t>(width) * (bits / 8) + 3) / 4 * 4;
    if (pixelOffset + rowBytes * height > data.size())
        return false;
    image = makeImage(width, height);
    for (int row = 0; row < height; ++row) {
        const int y = signedHeight < 0 ? row : height - 1 - row;
        const size_t start = pixelOffset + rowBytes * row;
        for (int x = 0; x < width; ++x) {
            const size_t at = start + static_cast<size_t>(x) * (bits / 8);
            image.set(x, y, readLittle(data, at, 3));
        }
    }
    return true;
}

bool loadResourceBitmap(const std::string &exe, int id, Image &image)
{
    HMODULE module = LoadLibraryExA(windowsPath(exe).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (module == NULL)
        return false;
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    bool ok = false;
    BITMAP record;
    if (bitmap != NULL && GetObjectA(bitmap, sizeof(record), &record) == sizeof(record)) {
        image = makeImage(record.bmWidth, record.bmHeight);
        BITMAPINFO info = pixelLayout(image);
        HDC screen = GetDC(NULL);
        ok = GetDIBits(screen, bitmap, 0, static_cast<UINT>(image.height), image.pixels.data(), &info,
                       DIB_RGB_COLORS) == image.height;
        ReleaseDC(NULL, screen);
        for (uint32_t &pixel : image.pixels)
            pixel &= 0x00FFFFFFu;
    }
    if (bitmap != NULL)
        DeleteObject(bitmap);
    FreeLibrary(module);
    return ok;
}

bool saveBmp(const std::string &path, const Image &image)
{
    const size_t rowBytes = (static_cast<size_t>(image.width) * 3 + 3) / 4 * 4;
    const uint32_t pixelBytes = static_cast<uint32_t>(rowBytes * image.height);
    std::string data;
    data += "BM";
    putLittle(data, 54 + pixelBytes, 4);
    putLittle(data, 0, 4);
    putLittle(data, 54, 4);
    putLittle(data, 40, 4);
    putLittle(data, static_cast<uint32_t>(image.width), 4);
    putLittle(data, static_cast<uint32_t>(image.height), 4);
    putLittle(data, 1, 2);
    putLittle(data, 24, 2);
    putLittle(data, 0, 4);
    putLittle(data, pixelBytes, 4);
    putLittle(data, 0, 16);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x)
            putLittle(data, image.at(x, y), 3);
        for (size_t pad = static_cast<size_t>(image.width) * 3; pad < rowBytes; ++pad)
            data.push_back('\0');
    }
    return writeFile(path, data);
}

Image crop(const Image &image, int x, int y, int width, int height)
{
    Image part = makeImage(width, height);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            part.set(column, row, image.at(x + column, y + row));
    return part;
}

Image resizeNearest(const Image &image, int width, int height)
{
    Image resized = makeImage(width, height);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            resized.set(column, row, image.at(column * image.width / width, row * image.height / height));
    return resized;
}

int channelDistance(uint32_t a, uint32_t b)
{
    int largest = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int difference = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        largest = std::max(largest, difference);
    }
    return largest;
}

double meanDistance(const Image &a, const Image &b)
{
    if (a.width != b.width || a.height != b.height || a.pixels.empty())
        return 255.0;
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        sum += channelDistance(a.pixels[i], b.pixels[i]);
    return sum / static_cast<double>(a.pixels.size());
}

double matchShare(const Image &actual, const Image &expected, int tolerance)
{
    if (actual.width != expected.width || actual.height != expected.height || actual.pixels.empty())
        return 0.0;
    size_t matching = 0;
    for (size_t i = 0; i < actual.pixels.size(); ++i)
        if (channelDistance(actual.pixels[i], expected.pixels[i]) <= tolerance)
            ++matching;
    return static_cast<double>(matching) / static_cast<double>(actual.pixels.size());
}

void keepImage(const Image &image, const std::string &name)
{
    const std::string path = joinPath(windowsPath(requiredOption("work")), name + ".bmp");
    if (saveBmp(path, image))
        std::printf("    (kept what was seen in %s)\n", path.c_str());
}

// ---- Dialogs and message boxes ----

HWND waitForDialog(DWORD processId, int timeoutMs)
{
    HWND found = NULL;
    waitFor(
        [&]() {
            for (HWND window : topWindows(processId, "#32770"))
                if (IsWindowVisible(window)) {
                    found = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

bool chooseFile(HWND dialog, const std::string &path, int timeoutMs)
{
    HWND nameBox = descendant(dialog, 0x47C); // cmb13, the file-name box
    if (nameBox == NULL)
        nameBox = descendant(dialog, 0x480); // edt1, in the older dialog
    if (nameBox == NULL || !setText(nameBox, windowsPath(path)))
        return false;
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return waitFor([&]() { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeoutMs);
}

bool cancelDialog(HWND dialog, int timeoutMs)
{
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return waitFor([&]() { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeoutMs);
}

MessageBoxView readMessageBox(HWND box)
{
    MessageBoxView view;
    view.title = text(box);
    HWND message = child(box, 0xFFFF);
    if (message != NULL)
        view.text = text(message);
    for (HWND control : children(box))
        if (lower(className(control)) == "button" && IsWindowVisible(control))
            view.buttonIds.push_back(GetDlgCtrlID(control));
    return view;
}

// ---- Sounds ----

namespace {

std::string field(const std::string &line, const std::string &key)
{
    const std::string::size_type at = line.find(" " + key + "=");
    if (at == std::string::npos)
        return std::string();
    const std::string::size_type begin = at + key.size() + 2;
    if (begin < line.size() && line[begin] == '"') {
        const std::string::size_type end = line.find('"', begin + 1);
        return line.substr(begin + 1, end == std::string::npos ? std::string::npos : end - begin - 1);
    }
    const std::string::size_type end = line.find(' ', begin);
    return line.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

} // namespace

std::vector<Sound> allSounds(const Program &program)
{
    std::vector<Sound> sounds;
    std::string contents;
    if (program.soundLog.empty() || !readFile(program.soundLog, contents))
        return sounds;
    std::string::size_type begin = 0;
    while (begin < contents.size()) {
        std::string::size_type end = contents.find('\n', begin);
        if (end == std::string::npos)
            break; // a line still being written
        std::string line = contents.substr(begin, end - begin);
        begin = end + 1;
        if (!line.empty() && line[line.size() - 1] == '\r')
            line.erase(line.size() - 1);
        if (line.empty())
            continue;
        Sound sound;
        sound.line = line;
        sound.function = line.substr(0, line.find(' '));
        const std::string id = field(line, "id");
        if (!id.empty())
            sound.id = std::atoi(id.c_str());
        sound.name = field(line, "name");
        sound.flags = std::strtoul(field(line, "flags").c_str(), NULL, 16);
        sound.module = field(line, "module");
        sounds.push_back(sound);
    }
    return sounds;
}

std::vector<Sound> newSounds(Program &program)
{
    std::vector<Sound> sounds = allSounds(program);
    std::vector<Sound> fresh;
    if (sounds.size() > program.soundsRead)
        fresh.assign(sounds.begin() + static_cast<std::ptrdiff_t>(program.soundsRead), sounds.end());
    program.soundsRead = sounds.size();
    return fresh;
}

std::string soundIds(const std::vector<Sound> &sounds)
{
    std::string ids;
    for (const Sound &sound : sounds) {
        if (!ids.empty())
            ids += ' ';
        ids += sound.id >= 0 ? std::to_string(sound.id) : (sound.name.empty() ? "null" : sound.name);
    }
    return ids.empty() ? "(none)" : ids;
}

} // namespace e2e
