// The end-to-end driver: test programs (Windows console programs under Wine) start our
// programs in fresh folders, use them from outside as a person would and report checks. Names
// of files and folders are UTF-8, handed to the platform's wide ("W") functions.
#ifndef E2E_DRIVER_H
#define E2E_DRIVER_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

using std::string;
using std::to_string;
using Text = const string &;

// A name outside the ANSI code page (1252 under the tests): Cyrillic, CJK and an emoji.
const char FOREIGN_NAME[] = "Фото 写真 🌅";

// --key=value options; every test gets --work, --winmm, --game and --pixelhem.
void init(int argc, char **argv, const char *name);
string option(const char *key);
string requiredOption(const char *key); // a missing one ends the test
string windowsPath(Text path);          // "/a/b" -> "Z:\a\b"
std::wstring widePath(Text path);       // the same, as the "W" functions take it
string joinPath(Text folder, Text name);
bool fileExists(Text path); // a file or a folder
string fileText(Text path); // "" when it can't be read
bool writeFile(Text path, Text contents);
bool copyFile(Text from, Text to);
string freshFolder(Text name); // an empty <work>\<name>
string picture(Text name);     // <pictures>\<name>: the pictures that pictures.py makes

void group(Text name); // heads the failures that follow
bool check(bool ok, Text what);
bool checkText(Text actual, Text expected, Text what);
int finish(); // ends what still runs; the exit code for main

// Polls until condition() is true; false when timeoutMs passed first.
bool waitFor(const std::function<bool()> &condition, int timeoutMs);

struct Program {
    PROCESS_INFORMATION process = {};
    string soundLog;
    HWND window = NULL;
    size_t soundsRead = 0;
};
struct StartOptions {
    string currentDir;  // "" = the program's folder
    string arguments{}; // after the program's name on its command line
};
// Copies sourceExe and the recording winmm.dll (--winmm, when given) into folder and starts the
// copy there.
bool start(Program &program, Text sourceExe, Text folder, const StartOptions &startOptions = StartOptions());
// The first visible top-level window of the class (NULL: any) the program opens.
HWND waitForWindow(Program &program, const char *className, int timeoutMs = 15000);
void terminate(Program &program);

string text(HWND window); // WM_GETTEXT
bool click(HWND button, int timeoutMs = 5000);
// For commands that open a modal window: a press and release posted, returns at once.
void clickPosted(HWND button);
// Brings the program's window to the front and presses the key there, with Ctrl held when
// asked, as a person at the keyboard does. Returns at once: the program takes it later.
void pressKey(const Program &program, BYTE key, bool control = false);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB, rows from the top
    uint32_t at(int x, int y) const
    {
        return pixels[static_cast<size_t>(y) * width + x];
    }
};
Image captureWindow(HWND window); // what the screen shows under it
// Waits until the window and its controls have painted all they have left to paint.
void settle(HWND window);
// A 24-bit BMP file of width x height with photo-like pixels (gradients and a fine grain).
string bmpFile(int width, int height);

// The pixels of a picture file, read by the test itself: a 24-bit BMP file from its own bytes,
// any other picture from the BMP file beside it (<file>.bmp, written by pictures.py: decoded by
// Pillow, turned upright and put over white). No pixels when neither can be read.
Image pictureOf(Text path);

// A part of a picture: the whole of it (piece 0), or piece 1 to 15 of its 4 x 4 grid, the
// piece of tile A to O (the last column and row start at w - w/4 and h - h/4).
struct Part {
    int x, y, width, height;
};
Part pieceOf(const Image &picture, int piece);

// Whether seen shows the part of the picture honestly. A part of seen's own size must be copied
// pixel for pixel. Any other is stretched: each pixel of seen must lie within the range of the
// picture's pixels under it, one pixel of margin around them, give or take two levels, and the
// mean of each colour within six levels of the part's. That holds for a stretch that averages
// (Windows' HALFTONE) and for one that picks (Wine's), and fails one that ANDs the colours
// together, or a part taken from the wrong place.
bool stretchOf(const Image &seen, const Image &picture, const Part &part);
// Waits until the control shows the part of the picture; false after 6 s (Wine's open-file dialog
// holds a program for two seconds after it closes).
bool shows(HWND control, const Image &picture, const Part &part);
// Waits until the control shows a plain square of the colour, as for a picture that can't be read.
const uint32_t LETTERED = 0xE2E2DC; // the game's light lettered tiles, and its preview
const uint32_t DARK = 0x000000;     // the resizer's preview
bool showsPlain(HWND control, uint32_t colour);
// Every piece the program shows of the picture file ("": lettered tiles), each checked: piece 0,
// the whole picture, in the control previewId, and pieces 1 to pieces - 1 in the tiles.
bool showsPieces(const Program &program, int previewId, int pieces, Text path, Text what);

HWND waitForDialog(DWORD processId, int timeoutMs = 5000);
bool chooseFile(HWND dialog, Text path, int timeoutMs = 5000);
// Clicks the program's button and chooses path in the open-file dialog it opens.
bool choose(const Program &program, int buttonId, Text path);

// The ids of the sounds the program played since the last call: "4600 2250".
string newSoundIds(Program &program);

} // namespace e2e

#endif
