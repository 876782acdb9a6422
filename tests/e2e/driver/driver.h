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
// A 24-bit BMP file of width x height with made-up pixels, or only length (not 0) bytes of them.
string bmpFile(int width, int height, int length = 0);
// What drawing a picture file gives, as the programs draw it: piece 1 to 15 of its 4 x 4 grid
// (the last column and row from w - w/4 and h - h/4) stretched onto size x size with the
// platform's default stretch, or for piece 0 all of it with HALFTONE; black for a file that
// does not load.
Image stretchedFile(Text path, int piece, int size);
// Whether the images are of one size and no channel of a pixel differs by more than tolerance.
bool matches(const Image &actual, const Image &expected, int tolerance);
// Waits until the control shows expected within tolerance, or, for an image of no pixels, the
// light colour of a lettered tile; false after 6 s (Wine's open-file dialog holds a program
// for two seconds after it closes).
bool shows(HWND control, const Image &expected, int tolerance);

// Every piece the program shows of the picture file ("": lettered tiles), each checked: piece 0,
// the whole picture, in the control previewId (previewSize square, HALFTONE: a 32-bit Wine rounds
// it a level or two off the 64-bit test's own), and pieces 1 to pieces - 1 in the tiles.
bool showsPieces(const Program &program, int previewId, int previewSize, int pieces, Text path, Text what);

HWND waitForDialog(DWORD processId, int timeoutMs = 5000);
bool chooseFile(HWND dialog, Text path, int timeoutMs = 5000);
bool cancelDialog(HWND dialog, int timeoutMs = 5000);
// Clicks the program's button and chooses path in the open-file dialog it opens ("": cancels).
bool choose(const Program &program, int buttonId, Text path);

// The ids of the sounds the program played since the last call: "4600 2250".
string newSoundIds(Program &program);

// Pictures of any format (pictures.cpp).
extern int turn; // the EXIF orientation (1 to 8; 0 = 1) by which loadPicture turns what WIC reads
// A picture file as the programs read it: a BMP through the platform's loader, any other
// through WIC, put over white and turned. stretchedFile draws what this gives.
HBITMAP loadPicture(Text path);

} // namespace e2e

#endif
