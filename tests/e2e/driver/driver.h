// The end-to-end driver: what a test program (a Windows console program run under Wine)
// needs to start one of our programs in a fresh folder and use it from outside as a
// person would, and to report what it saw. See ../README.md for an example.
#ifndef E2E_DRIVER_H
#define E2E_DRIVER_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// ---- Options, paths and files ----

// Reads the command line (--key=value options) and prints the test's name. Call first.
// Every test gets --work=<folder for its files> and --winmm=<recording winmm.dll>.
void init(int argc, char **argv, const char *name);
// The value of --key=value, or "" when it was not given.
std::string option(const char *key);
// The same, but a missing option ends the test as a failure.
std::string requiredOption(const char *key);

// A host path ("/work/x") as the programs see it under Wine ("Z:\work\x"); a path that
// is already a Windows path comes back with its slashes turned into backslashes.
std::string windowsPath(const std::string &path);
std::string joinPath(const std::string &folder, const std::string &name);
std::string fileNamePart(const std::string &path);

bool fileExists(const std::string &path);
bool folderExists(const std::string &path);
bool readFile(const std::string &path, std::string &contents);
bool writeFile(const std::string &path, const std::string &contents);
bool copyFile(const std::string &from, const std::string &to);
bool makeFolders(const std::string &path);
bool removeTree(const std::string &path);
// An empty folder <work>\<name>; whatever an earlier run left there is removed first.
std::string freshFolder(const std::string &name);

// ---- Checks and the report ----

// Text printed with every failure until it is replaced, e.g. "deal 3, click 17".
void context(const std::string &text);
// Starts a group of related checks; its name heads the failures it collects.
void group(const std::string &name);
bool check(bool ok, const std::string &what);
bool checkEqual(long long actual, long long expected, const std::string &what);
bool checkText(const std::string &actual, const std::string &expected, const std::string &what);
// Reports a failure and ends the test at once (started programs are ended first).
[[noreturn]] void fatal(const std::string &what);
// Ends every program still running, prints the summary, and returns the exit code for
// main: 0 when every check passed.
int finish();
int failureCount();

// ---- Waiting with deadlines ----

// Polls until condition() is true; false when timeoutMs passed first.
bool waitFor(const std::function<bool()> &condition, int timeoutMs);
// True when condition() stays true for the whole of durationMs (polled). For checking
// that something does NOT happen, e.g. a stopped clock stays stopped.
bool holds(const std::function<bool()> &condition, int durationMs);
DWORD now();

// ---- Programs ----

struct Program {
    PROCESS_INFORMATION process = {};
    std::string folder;   // the fresh folder it was copied into
    std::string exe;      // full path of the copy
    std::string soundLog; // where the recording winmm.dll writes; "" without it
    HWND window = NULL;   // its main window, once found
    size_t soundsRead = 0;
};

struct StartOptions {
    std::string currentDir;                                       // "" = the program's folder
    bool recordSounds = true;                                     // copy winmm.dll beside it
    std::vector<std::pair<std::string, std::string>> environment; // extra variables
    std::vector<std::string> extraFiles;                          // copied beside the program
    int showCommand = -1;                                         // SW_... for its first window; -1 = default
};

// Copies sourceExe (a host or Windows path) into folder (created when missing) and
// starts the copy there. False (and a failure reported) when it could not start.
bool start(Program &program, const std::string &sourceExe, const std::string &folder,
           const StartOptions &startOptions = StartOptions());
// Waits until the process shows a visible top-level window of the class; sets
// program.window. NULL on time-out.
HWND waitForWindow(Program &program, const char *className, int timeoutMs = 15000);
bool isRunning(const Program &program);
// The exit code, or -1 when the process is still running after timeoutMs.
long waitForExit(Program &program, int timeoutMs);
void terminate(Program &program);

// ---- Windows and controls ----

HWND child(HWND parent, int id);         // a direct child by control id
HWND descendant(HWND parent, int id);    // at any depth
std::vector<HWND> children(HWND parent); // direct children, in z-order
std::string className(HWND window);
std::string text(HWND window); // WM_GETTEXT, answered by the owner thread
bool setText(HWND window, const std::string &value);
LONG style(HWND window);
RECT screenRect(HWND window);
RECT rectInClient(HWND window, HWND parent); // window's rectangle in parent's client coordinates
std::string describe(const RECT &rect);      // "(x, y) w x h"
// Top-level windows of a process with the class (all classes when className is NULL).
std::vector<HWND> topWindows(DWORD processId, const char *wantedClass);

// BM_CLICK, sent: returns once the command has run. False when the program did not
// answer within timeoutMs (for example because the command opened a modal window).
bool click(HWND button, int timeoutMs = 5000);
// A left-button press and release posted at the button's centre: returns at once, for
// commands that open a modal window.
void clickPosted(HWND button);
// Posted mouse messages at client coordinates.
void postMouse(HWND window, UINT message, int x, int y, WPARAM keys);
// Sends WM_TIMER with this id, count times; false when a send was not answered.
bool sendTimer(HWND window, UINT_PTR id, int count = 1);
// Real input: moves the pointer to a screen point, presses, moves by (dx, dy) in steps,
// releases. With dx = dy = 0 it is a plain click.
void realDrag(int x, int y, int dx, int dy);

// ---- Pixels ----

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB, rows from the top
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    void set(int x, int y, uint32_t colour) { pixels[static_cast<size_t>(y) * width + x] = colour; }
};
Image makeImage(int width, int height, uint32_t colour = 0);
// What the screen shows in a rectangle (screen coordinates).
Image captureScreen(const RECT &rect);
// What a window shows: the screen under its rectangle.
Image captureWindow(HWND window);
// Reads an uncompressed 24- or 32-bit BMP file; false for anything else.
bool loadBmp(const std::string &path, Image &image);
// A bitmap resource of a program file, read without running it; false when it has none.
bool loadResourceBitmap(const std::string &exe, int id, Image &image);
// Writes a 24-bit bottom-up BMP file.
bool saveBmp(const std::string &path, const Image &image);
// A rectangle of an image, and a nearest-neighbour resize (both for building expected views).
Image crop(const Image &image, int x, int y, int width, int height);
Image resizeNearest(const Image &image, int width, int height);
// Share of pixels whose colours differ by at most tolerance in every channel (0..1).
double matchShare(const Image &actual, const Image &expected, int tolerance);
// Saves an image into the test's work folder as <name>.bmp for a look after a failure,
// and prints where it is.
void keepImage(const Image &image, const std::string &name);
int channelDistance(uint32_t a, uint32_t b);
// Mean of channelDistance over all pixels (255 when the sizes differ): which of two
// candidate pictures an image is closer to.
double meanDistance(const Image &a, const Image &b);

// ---- Dialogs and message boxes ----

// Waits for a #32770 window of the process; NULL on time-out.
HWND waitForDialog(DWORD processId, int timeoutMs = 5000);
// Types the path into the open-file dialog's file-name box and presses OK; true when
// the dialog closed.
bool chooseFile(HWND dialog, const std::string &path, int timeoutMs = 5000);
// Presses Cancel; true when the dialog closed.
bool cancelDialog(HWND dialog, int timeoutMs = 5000);

struct MessageBoxView {
    std::string title;
    std::string text;
    std::vector<int> buttonIds; // visible buttons
};
MessageBoxView readMessageBox(HWND box);

// ---- Sounds (from the recording winmm.dll) ----

struct Sound {
    std::string function; // "PlaySoundA", ...
    int id = -1;          // resource id, -1 when the sound was named or NULL
    std::string name;
    unsigned long flags = 0;
    std::string module; // "own", "none", "other"
    std::string line;
};
std::vector<Sound> allSounds(const Program &program);
// The sounds recorded since the last call (or since the start).
std::vector<Sound> newSounds(Program &program);
// "4600 2250 2350": the ids of a list, for messages and comparisons.
std::string soundIds(const std::vector<Sound> &sounds);

} // namespace e2e

#endif
