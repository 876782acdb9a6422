// Both programs, started in folders named outside the code page, with a picture so named on the
// command line (the resizer saves it at once, beside its sample) and the pictures of pictures.py:
// PNG with transparency, GIF, TIFF and JPEGs of every EXIF orientation through the open-file
// dialog (opened by Ctrl+O), each piece pixel for pixel against the test's own reading of the file
// (driver/pictures.cpp); files dropped on the window, and on the game during a game (refused);
// damaged and huge files dropped and shown as unreadable within a second, the program's peak
// working set never that of a picture over 100 megapixels; a picture named outside the code page
// dropped on a resizer that has none yet, and saved. The pictures' path has spaces in it.
#include <cstdlib>

#include "driver.h"

#include <psapi.h>

using namespace e2e;

namespace {

// A program: its preview (piece 0: the whole picture stretched with HALFTONE), its number of
// pieces (the game's tiles show 1 to 15), what an unreadable file shows ("": lettered tiles,
// else the stretch of a file that isn't there: a dark preview) and the sound of a picture taken.
struct Subject {
    const char *option;
    int preview;
    int previewSize;
    int pieces;
    const char *unreadable;
    const char *sound;
};
const Subject GAME = {"game", 3900, 88, 16, "", "2150"};
const Subject RESIZER = {"pixelhem", 450, 192, 1, "no such file", "900"};

// Chosen in the dialog, then dropped; each JPEG is named by its EXIF orientation.
const char *const FILES[] = {"alpha.png", "photo.gif", "photo.tif", "2.jpg",    "3.jpg",   "4.jpg",   "5.jpg",  "6.jpg",
                             "7.jpg",     "8.jpg",     "alpha.png", "bomb.png", "big.png", "cut.jpg", "bad.png"};
const int FIRST_DROPPED = 10;
const int FIRST_UNREADABLE = 11;

Program program; // the program under test

string picture(Text name)
{
    return joinPath(requiredOption("pictures"), name);
}

// Drops the file on the window as the shell does: a DROPFILES block written into the
// program's memory, its address the drop's handle. True when the window takes dropped files
// (as the shell asks first) and this one within a second.
bool drop(Text path)
{
    // DROPFILES: where the names start (after its 20 bytes), no point, wide names; then the
    // names, each ended by a zero, and a zero.
    const std::wstring block = L'\x14' + std::wstring(7, L'\0') + L'\x01' + L'\0' + widePath(path) + L'\0' + L'\0';
    void *at = VirtualAllocEx(program.process.hProcess, NULL, block.size() * 2, MEM_COMMIT, PAGE_READWRITE);
    return GetWindowLongA(program.window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES &&
           WriteProcessMemory(program.process.hProcess, at, block.data(), block.size() * 2, NULL) &&
           SendMessageTimeoutA(program.window, WM_DROPFILES, reinterpret_cast<WPARAM>(at), 0, SMTO_NORMAL, 1000, NULL);
}

// Hands the file over, dropped (taken within a second: decoded and drawn by then) or chosen in
// the dialog; then the sound and what the program shows.
void handOver(const Subject &s, const char *file, bool dropped, Text sound, Text shown)
{
    group(file);
    turn = std::atoi(file);
    if (dropped) {
        check(drop(picture(file)), "dropped");
    } else {
        pressKey(program, 'O', true); // Ctrl+O: Load .Bmp, Get Preview
        const HWND dialog = waitForDialog(program.process.dwProcessId);
        checkText(text(GetDlgItem(dialog, 0x470)), "Pictures (*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff)", "filter");
        check(chooseFile(dialog, picture(file)), "the dialog takes it");
    }
    checkText(newSoundIds(program), sound, "sound");
    showsPieces(program, s.preview, s.previewSize, s.pieces, shown, "");
    PROCESS_MEMORY_COUNTERS memory = {};
    GetProcessMemoryInfo(program.process.hProcess, &memory, sizeof(memory));
    check(memory.PeakWorkingSetSize < 200000000, "never held the pixels of more than 100 megapixels");
}

// Starts the program in a fresh folder of the test's.
void begin(const Subject &s, Text folder, const StartOptions &options)
{
    group(folder);
    start(program, requiredOption(s.option), freshFolder(folder), options);
    waitForWindow(program, NULL);
}

// Ctrl+S (Save .Bmp) writes the resizer's first picture beside the sample it wrote at start.
void savesFirst(Text folder)
{
    const string at = joinPath(requiredOption("work"), folder);
    check(fileText(at + "\\sample.bmp").size() == 110646, "the sample is written");
    pressKey(program, 'S', true);
    check(waitFor([&]() { return fileExists(at + "\\Snowquill_Image01.bmp"); }, 5000), "Ctrl+S saves it");
    checkText(newSoundIds(program), RESIZER.sound, "Save .Bmp's sound");
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "both programs with pictures of every format");
    // A picture named outside the code page, and the same file under a plain name for the
    // test's own reading.
    const string foreign = string(FOREIGN_NAME) + ".bmp";
    writeFile(picture("plain.bmp"), bmpFile(90, 70));
    copyFile(picture("plain.bmp"), picture(foreign));
    StartOptions options;
    options.arguments = "\"" + picture(foreign) + "\"";
    for (const Subject *s : {&RESIZER, &GAME}) {
        const string folder = string(s->option) + " " + FOREIGN_NAME;
        begin(*s, folder, options);
        showsPieces(program, s->preview, s->previewSize, s->pieces, picture("plain.bmp"), "the picture named");
        if (s == &RESIZER)
            savesFirst(folder);
        for (int i = 0; i < 15; ++i)
            handOver(*s, FILES[i], i >= FIRST_DROPPED, s->sound,
                     i < FIRST_UNREADABLE ? picture(FILES[i]) : s->unreadable);
        if (s == &RESIZER)
            terminate(program);
    }
    click(GetDlgItem(program.window, 2000));            // New Game
    handOver(GAME, "alpha.png", true, "4600 4400", ""); // refused: the letters stay
    terminate(program);
    begin(RESIZER, "dropped on the resizer", StartOptions());
    handOver(RESIZER, foreign.c_str(), true, RESIZER.sound, picture("plain.bmp"));
    savesFirst("dropped on the resizer");
    return finish();
}
