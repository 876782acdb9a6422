// The end-to-end driver: test programs (Windows console programs under Wine) start our
// programs in fresh folders, use them from outside as a person would and report checks.
#ifndef E2E_DRIVER_H
#define E2E_DRIVER_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

using Text = const std::string &;

// --key=value options; every test gets --work, --winmm, --game and --pixelhem.
void init(int argc, char **argv, const char *name);
std::string option(const char *key);
std::string requiredOption(const char *key);      // a missing one ends the test
std::string windowsPath(const std::string &path); // "/a/b" -> "Z:\a\b"
inline std::string joinPath(Text folder, Text name)
{
    return windowsPath(folder) + "\\" + name;
}
bool fileExists(const std::string &path); // a file, not a folder
bool readFile(const std::string &path, std::string &contents);
bool writeFile(const std::string &path, const std::string &contents);
bool copyFile(const std::string &from, const std::string &to);
bool removeTree(const std::string &path);
std::string freshFolder(const std::string &name); // an empty <work>\<name>

void group(const std::string &name); // heads the failures that follow
bool check(bool ok, const std::string &what);
bool checkText(const std::string &actual, const std::string &expected, const std::string &what);
[[noreturn]] void fatal(const std::string &what);
int finish(); // ends what still runs; the exit code for main

// Polls until condition() is true; false when timeoutMs passed first.
bool waitFor(const std::function<bool()> &condition, int timeoutMs);

struct Program {
    PROCESS_INFORMATION process = {};
    std::string folder, exe, soundLog;
    HWND window = NULL;
    size_t soundsRead = 0;
};
struct StartOptions {
    std::string currentDir; // "" = the program's folder
    bool recordSounds = true;
    std::vector<std::string> extraFiles; // copied beside the program
    std::string arguments{};             // after the program's name on its command line
};
// Copies sourceExe (and the recording winmm.dll) into folder and starts the copy there.
bool start(Program &program, const std::string &sourceExe, const std::string &folder,
           const StartOptions &startOptions = StartOptions());
HWND waitForWindow(Program &program, const char *className, int timeoutMs = 15000);
long waitForExit(Program &program, int timeoutMs); // -1 while still running
inline void terminate(Program &program)
{
    TerminateProcess(program.process.hProcess, 99), waitForExit(program, 5000);
}

inline HWND child(HWND parent, int id)
{
    return GetDlgItem(parent, id);
}
bool sent(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int timeoutMs = 5000); // false: no answer
std::string text(HWND window);                                                            // WM_GETTEXT
inline bool click(HWND button, int timeoutMs = 5000)
{
    return sent(button, BM_CLICK, 0, 0, timeoutMs);
}
// For commands that open a modal window: a press and release posted, returns at once.
inline void clickPosted(HWND b)
{
    PostMessageA(b, WM_LBUTTONDOWN, 1, 0x20002), PostMessageA(b, WM_LBUTTONUP, 0, 0x20002);
}
bool sendTimer(HWND window, UINT_PTR id, int count = 1);

struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB, rows from the top
    uint32_t at(int x, int y) const
    {
        return pixels[static_cast<size_t>(y) * width + x];
    }
};
Image captureWindow(HWND window);            // what the screen shows under it
Image captureBitmap(HDC dc, HBITMAP bitmap); // a bitmap not selected into a DC
bool loadBmp(const std::string &path, Image &image);
bool saveBmp(const std::string &path, const Image &image);
// A BMP file of width x height at bits a pixel, with made-up pixels (runs of 8 when
// compressed: 1 = RLE8, 2 = RLE4), or only length bytes of them.
std::string bmpFile(int width, int height, int bits, int compression = 0, int length = -1);
// What drawing a picture file gives, as the programs draw it: piece 1 to 15 of its 4 x 4 grid
// (the last column and row from w - w/4 and h - h/4) stretched onto size x size with the
// platform's default stretch, or for piece 0 all of it with HALFTONE; black for a file that
// does not load.
Image stretchedFile(const std::string &path, int piece, int size);
double matchShare(const Image &actual, const Image &expected, int tolerance);
void keepImage(const Image &image, const std::string &name); // <work>\<name>.bmp

HWND waitForDialog(DWORD processId, int timeoutMs = 5000);
bool chooseFile(HWND dialog, const std::string &path, int timeoutMs = 5000);
bool cancelDialog(HWND dialog, int timeoutMs = 5000);

// The ids of the sounds the program played since the last call: "4600 2250".
std::string newSoundIds(Program &program);

} // namespace e2e

// Pictures of any format (pictures.cpp).
namespace e2e {

extern int turn; // the EXIF orientation (1 to 8; 0 = 1) by which loadPicture turns what WIC reads
// A picture file as the programs read it: a BMP through the platform's loader, any other
// through WIC, put over white and turned. stretchedFile draws what this gives.
HBITMAP loadPicture(const std::string &path);

} // namespace e2e

#endif
