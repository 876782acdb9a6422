// Both programs, started in folders named outside the code page, with the pictures of pictures.py,
// each piece judged against the picture's own pixels: a real camera photo named outside the code
// page on the command line (the resizer saves it at once, beside its sample); a large
// photo dropped, the wait cursor shown while it is read; a PNG with transparency through the
// open-file dialog (opened by Ctrl+O); the other real photo, a GIF, a TIFF and JPEGs of every EXIF orientation
// dropped on the window, and on the game during a game (refused); damaged files, and pictures of
// more than 100 megapixels, dropped and shown as unreadable at once; a picture named outside the
// code page dropped on a resizer that has none yet, and saved. The pictures' path has spaces in it.
#include "driver.h"

using namespace e2e;

namespace {

// A program: its preview (piece 0: the whole picture), its number of pieces
// (the game's tiles show 1 to 15), the plain colour its preview shows for an unreadable file and the
// sound of a picture taken.
struct Subject {
    const char *option;
    int preview;
    int pieces;
    uint32_t unreadable;
    const char *sound;
};
const Subject GAME = {"game", 3900, 16, LETTERED, "2150"};
const Subject RESIZER = {"pixelhem", 450, 1, DARK, "900"};

// The first chosen in the dialog, the others dropped; each JPEG is named by its EXIF orientation.
const char *const FILES[] = {"alpha.png", "chelsea.png", "photo.gif", "photo.tif", "2.jpg",
                             "3.jpg",     "4.jpg",       "5.jpg",     "6.jpg",     "7.jpg",
                             "8.jpg",     "bomb.png",    "big.png",   "cut.jpg",   "bad.png"};
const int FILE_COUNT = 15;
const int FIRST_UNREADABLE = 11;

Program program; // the program under test

// Drops the file on the window as the shell does: a DROPFILES block written into the program's
// memory, its address the drop's handle, when the window takes dropped files (as the shell asks
// first). Sent, true when the window has taken it within three seconds (reading a picture of 900
// million pixels would take minutes); else posted.
bool drop(Text path, bool sent = true)
{
    // DROPFILES: where the names start (after its 20 bytes), no point, wide names; then the
    // names, each ended by a zero, and a zero.
    const std::wstring block = L'\x14' + std::wstring(7, L'\0') + L'\x01' + L'\0' + widePath(path) + L'\0' + L'\0';
    void *at = VirtualAllocEx(program.process.hProcess, NULL, block.size() * 2, MEM_COMMIT, PAGE_READWRITE);
    const WPARAM dropped = reinterpret_cast<WPARAM>(at);
    return GetWindowLongA(program.window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES &&
           WriteProcessMemory(program.process.hProcess, at, block.data(), block.size() * 2, NULL) &&
           (sent ? SendMessageTimeoutA(program.window, WM_DROPFILES, dropped, 0, SMTO_NORMAL, 3000, NULL) != 0
                 : PostMessageA(program.window, WM_DROPFILES, dropped, 0) != 0);
}

// Whether the first filter of the open-file dialog, "Pictures (*.bmp;...)", offers BMP files
// first, then each extension of the formats the programs read, and icons: a format that no fixed
// list of those would name, which the imaging component decodes everywhere.
bool offersEveryFormat(string filter)
{
    filter.back() = ';';
    bool offered = filter.rfind("Pictures (*.bmp;", 0) == 0;
    for (const char *pattern : {"*.jpg;", "*.jpeg;", "*.png;", "*.gif;", "*.tif;", "*.tiff;", "*.ico;"})
        offered = offered && filter.find(pattern) != string::npos;
    return offered;
}

HCURSOR cursorShown()
{
    CURSORINFO shown = {};
    shown.cbSize = sizeof(shown);
    GetCursorInfo(&shown);
    return shown.hCursor;
}

// A large photo dropped with the mouse resting on the window: the wait cursor shows while it is
// read, and once it is shown the cursor is the one before again. (The cursor read is that of the
// foreground window's thread; the window is asked to set its own cursor first, as a move of the
// mouse over it would.)
void waitCursor(const Subject &s)
{
    group("large.jpg, 3000 x 2000: the wait cursor");
    SetForegroundWindow(program.window);
    SendMessageA(program.window, WM_SETCURSOR, reinterpret_cast<WPARAM>(program.window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    const HCURSOR resting = cursorShown();
    drop(picture("large.jpg"), false);
    check(waitFor([&]() { return cursorShown() != resting; }, 3000), "the wait cursor while the photo is read");
    newSoundIds(program);
    showsPieces(program, s.preview, s.pieces, picture("large.jpg"), "the photo shown");
    check(cursorShown() == resting, "the cursor as it was, once the photo is shown");
}

// Hands the file over, dropped (decoded and drawn once it is taken) or chosen in
// the dialog; then the sound and what the program shows.
void handOver(const Subject &s, const char *file, bool dropped, Text sound, bool readable)
{
    group(file);
    if (dropped) {
        check(drop(picture(file)), "dropped");
    } else {
        pressKey(program, 'O', true); // Ctrl+O: Load .Bmp, Get Preview
        const HWND dialog = waitForDialog(program.process.dwProcessId);
        const string filter = text(GetDlgItem(dialog, 0x470));
        check(offersEveryFormat(filter), "the first filter offers every picture format: " + filter);
        check(chooseFile(dialog, picture(file)), "the dialog takes it");
    }
    checkText(newSoundIds(program), sound, "sound");
    if (readable)
        showsPieces(program, s.preview, s.pieces, picture(file), "");
    else
        check(showsPlain(GetDlgItem(program.window, s.preview), s.unreadable), "unreadable: a plain preview");
}

// Starts the program in a fresh folder of the test's.
void begin(const Subject &s, Text folder, const StartOptions &options)
{
    group(folder);
    start(program, requiredOption(s.option), freshFolder(folder), options);
    waitForWindow(program, NULL);
}

// Ctrl+S (Save .Bmp) writes the resizer's first picture in its folder.
void savesFirst(Text folder)
{
    const string at = joinPath(requiredOption("work"), folder);
    pressKey(program, 'S', true);
    check(waitFor([&]() { return fileExists(at + "\\Snowquill_Image01.bmp"); }, 5000), "Ctrl+S saves it");
    checkText(newSoundIds(program), RESIZER.sound, "Save .Bmp's sound");
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "both programs with pictures of every format");
    // The camera photo named outside the code page, with the pixels the test reads beside it.
    const string foreign = string(FOREIGN_NAME) + ".jpg";
    copyFile(picture("rocket.jpg"), picture(foreign));
    copyFile(picture("rocket.jpg.bmp"), picture(foreign + ".bmp"));
    StartOptions options;
    options.arguments = "\"" + picture(foreign) + "\"";
    for (const Subject *s : {&RESIZER, &GAME}) {
        const string folder = string(s->option) + " " + FOREIGN_NAME;
        begin(*s, folder, options);
        showsPieces(program, s->preview, s->pieces, picture(foreign), "the photo named");
        if (s == &RESIZER)
            savesFirst(folder);
        waitCursor(*s);
        for (int i = 0; i < FILE_COUNT; ++i)
            handOver(*s, FILES[i], i > 0, s->sound, i < FIRST_UNREADABLE);
        if (s == &RESIZER)
            terminate(program);
    }
    click(GetDlgItem(program.window, 2000));               // New Game
    handOver(GAME, "alpha.png", true, "4600 4400", false); // refused: the letters stay
    terminate(program);
    begin(RESIZER, "dropped on the resizer", StartOptions());
    handOver(RESIZER, foreign.c_str(), true, RESIZER.sound, true);
    savesFirst("dropped on the resizer");
    return finish();
}
