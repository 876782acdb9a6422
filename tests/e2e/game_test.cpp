// The game used from outside: start-up, whole games to each ending, refusals, the clock,
// Load .Bmp, the picture following its file, the pixels of tiles and preview, help,
// minimise and close. With --rounds=N it plays N games and watches handles and memory.
#include "driver.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "resource.h"
#include "solver.h"

using namespace e2e;

namespace {

Program game;
int moves = 0;
HWND item(int id)
{
    return child(game.window, id);
}
HWND tile(int n)
{
    return item(100 * (n + 4));
}
std::string field(int id)
{
    return text(item(id));
}
void heard(const std::string &ids, const std::string &what)
{
    checkText(newSoundIds(game), ids, what);
}
void press(int id, const std::string &ids, const std::string &what)
{
    check(click(item(id), 2000), what), heard(ids, what);
}
int at(const int slots[16], int slot)
{
    return static_cast<int>(std::find(slots + 1, slots + 16, slot) - slots);
}

// Each tile's slot (1..16) as its window stands, 0 when off the grid; [0] = the empty slot.
void readSlots(int slots[16])
{
    slots[0] = 136;
    for (int n = 1; n <= 15; ++n) {
        RECT r = {};
        POINT p = {(GetWindowRect(tile(n), &r), r.left - 50), r.top - 75};
        ScreenToClient(game.window, &p);
        slots[0] -= slots[n] = p.x % 50 != 0 || p.y % 50 != 0 ? 0 : p.y / 50 * 4 + p.x / 50 + 1;
    }
}

// Every tile and the preview show what the file gives ("" = light lettered tiles). Exactly, but
// for a 32-bit game's preview: its Wine rounds HALFTONE a step off the 64-bit test's in places.
void showsPicture(const std::string &path, const std::string &what)
{
    BOOL wow = FALSE;
    IsWow64Process(game.process.hProcess, &wow);
    auto seen = [&](int n) { return captureWindow(n != 0 ? tile(n) : item(ID_DISPLAY)); };
    auto shows = [&](int n) {
        const Image image = seen(n);
        const long light = std::count(image.pixels.begin(), image.pixels.end(), 0xE2E2DC);
        return path.empty() ? light > 1000
                            : matchShare(image, stretchedFile(path, n, n != 0 ? 48 : 88), n == 0 && wow) == 1;
    };
    for (int n = 0; n <= 15; ++n)
        if (!check(waitFor([&]() { return shows(n); }, 3000), what + ": piece " + std::to_string(n)))
            return keepImage(seen(n), "seen"), keepImage(stretchedFile(path, n, n != 0 ? 48 : 88), "expected");
}

// The window's pixels but for the board and the preview, the places that show the picture.
std::vector<uint32_t> aroundPicture(const Image &image)
{
    std::vector<uint32_t> kept;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if ((x < 50 || x >= 248 || y < 75 || y >= 273) && (x < 516 || x >= 604 || y < 66 || y >= 154))
                kept.push_back(image.at(x, y));
    return kept;
}

void writePicture(const std::string &path, int w, int h)
{
    check(writeFile(path, bmpFile(w, h, 24)), "wrote " + path);
}

// The board after a click on tile n: the tiles from it to the empty slot each move one slot
// towards it; nothing moves for a tile outside the empty slot's row and column.
void slide(int slots[16], int n)
{
    const int from = slots[n], row = (from - 1) / 4 == (slots[0] - 1) / 4,
              d = (row ? 1 : 4) * (from > slots[0] ? 1 : -1);
    for (int s = slots[0]; (row || (from - s) % 4 == 0) && s != from; s += d)
        slots[at(slots, s + d)] = s, slots[0] = from;
}

// Clicks tile n and checks what moved, the moves field and the sounds.
void play(int n, int slots[16], const std::string &sounds)
{
    int want[16];
    slide((std::copy(slots, slots + 16, want), want), n);
    const std::string what = std::string("click ") + static_cast<char>('@' + n) + ", move " + std::to_string(++moves);
    check(click(tile(n)) && (readSlots(slots), std::equal(slots, slots + 16, want)),
          what + ": tiles moved as the board says");
    checkText(field(ID_MOVECOUNT), std::to_string(moves), what + ": moves field");
    heard(sounds, what);
}

// The last clicks of a game: from the solver's target to the end, by a step or a push.
struct Ending {
    int target[16]; // the slot of each tile
    std::vector<int> clicks;
};
const Ending endings[] = {
    {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 15, 13, 14, 11}, {12, 15, 11, 12}},        // even: L steps home
    {{0, 1, 2, 3, 4, 5, 6, 7, 8, 13, 9, 11, 12, 10, 14, 15}, {15, 14, 13, 10, 9, 15}}, // even: O pushes M N O
    {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 11, 13, 12, 14}, {14, 12, 11, 14}},        // odd: N steps
    {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 14, 10, 12, 13, 15, 11}, {14, 15, 11, 10, 14}},    // odd: N pushes O N
};

// One game: New Game, a refused click, the solver's clicks and an ending, what follows it.
void playGame(int round, int seen[4])
{
    group("game " + std::to_string(round));
    press(ID_START, "4600", "New Game");
    const std::string fields = field(ID_OURCLOCK) + " " + field(ID_MOVECOUNT) + field(ID_RESULT);
    check(fields == "0:00 0 " || fields == "0:01 0 ", "New Game resets the fields: " + fields);
    int slots[16];
    readSlots(slots);
    checkText(std::to_string(slots[0]), "16", "the deal leaves slot 16 empty");
    check(click(tile(at(slots, 1))), "a tile that can't move"), heard("4300", "a tile that can't move");
    const int even = isEvenDeal(slots) ? 0 : 2;
    const int kind = even + (seen[even] > seen[even + 1] ? 1 : 0);
    const std::vector<int> clicks = solveClicks(slots, endings[kind].target);
    moves = 0;
    for (int n : clicks)
        play(n, slots, "2250");
    std::printf("  %s deal, ending %d after %d moves\n", even == 0 ? "even" : "odd", kind, moves);
    seen[kind] += 1;
    const std::vector<int> &last = endings[kind].clicks;
    for (size_t i = 0; i < last.size(); ++i)
        play(last[i], slots, i + 1 < last.size() ? "2250" : even == 0 ? "2250 2350" : "2250 2500");
    checkText(field(ID_RESULT), even == 0 ? "Solved" : "Unsolvable", "result");
    const std::string stopped = field(ID_OURCLOCK);
    check(!waitFor([&]() { return field(ID_OURCLOCK) != stopped; }, 1100), "the clock stands after the end");
    check(click(tile(at(slots, 15))), "a click after the end"), heard("", "a click after the end");
}

void loadPicture(const std::string &path, const std::string &what)
{
    clickPosted(item(ID_PICTURES));
    const HWND dialog = waitForDialog(game.process.dwProcessId);
    check(path.empty() ? cancelDialog(dialog) : chooseFile(dialog, path), what + ": the open-file dialog"),
        heard("2150", what);
}

// The game's working set in KiB (under Wine another process's handle count reads 0).
size_t workingSet()
{
    PROCESS_MEMORY_COUNTERS memory = {};
    return GetProcessMemoryInfo(game.process.hProcess, &memory, sizeof(memory)) ? memory.WorkingSetSize / 1024 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "snowquill end to end");
    const std::string exe = requiredOption("game"),
                      chm = exe.substr(0, exe.find_last_of("\\/") + 1) + "snowquill-help.chm";
    const std::string elsewhere = freshFolder("elsewhere"), folder = freshFolder("game"),
                      pictures = freshFolder("pictures");
    const std::string helpLog = joinPath(pictures, "help.log"),
                      viewer = "\"" + windowsPath(requiredOption("helprecorder")) + "\" \"%1\"";
    RegSetValueA(HKEY_CLASSES_ROOT, ".chm", REG_SZ, "SnowquillHelpRecorder", 21);
    RegSetValueA(HKEY_CLASSES_ROOT, "SnowquillHelpRecorder\\shell\\open\\command", REG_SZ, viewer.c_str(),
                 static_cast<DWORD>(viewer.size()));
    SetEnvironmentVariableA("SNOWQUILL_HELP_LOG", helpLog.c_str());
    copyFile(chm, joinPath(elsewhere, "snowquill-help.chm")); // a decoy in the current folder
    group("start-up");
    if (!start(game, exe, folder, {elsewhere, true, {chm}}) || waitForWindow(game, "Snowquill") == NULL)
        fatal("no game window");
    const std::string fernwick = joinPath(folder, "BmpImages\\fernwick.bmp"),
                      bells = joinPath(pictures, "silverbells.bmp");
    std::string written, reference;
    check(readFile(fernwick, written) && readFile(requiredOption("reference"), reference) && written == reference,
          "the default picture is written beside the program");
    checkText(field(ID_OURCLOCK) + "|" + field(ID_MOVECOUNT) + "|" + field(ID_RESULT), "0:00|0|", "fields");
    int slots[16];
    readSlots(slots);
    check(slots[0] == 16 && std::adjacent_find(slots + 1, slots + 16, std::greater_equal<int>()) == slots + 16,
          "tiles at home");
    showsPicture(fernwick, "the default picture, 192 x 192");
    press(ID_CANCEL, "4300", "Cancel outside a game");
    loadPicture("", "Load .Bmp, cancelled");
    showsPicture(fernwick, "after a cancelled Load .Bmp");

    group("clock and refusals");
    press(ID_START, "4600", "New Game");
    press(ID_START, "4300", "New Game during a game");
    press(ID_PICTURES, "4400", "Load .Bmp during a game");
    sendTimer(game.window, ID_TIMER);
    check(field(ID_OURCLOCK) == "0:01" || field(ID_OURCLOCK) == "0:02", "a tick: " + field(ID_OURCLOCK));
    sendTimer(game.window, ID_TIMER, 3590);
    for (int i = 0; i < 200 && field(ID_RESULT) == " "; ++i)
        sendTimer(game.window, ID_TIMER);
    checkText(field(ID_OURCLOCK) + " " + field(ID_RESULT), "59:59 Time's up!", "the 3600th tick ends the game");
    heard("2500", "time's up");

    const int rounds = std::atoi(option("rounds").c_str());
    int seen[4] = {};
    std::vector<size_t> use;
    for (int round = 1; rounds > 0 ? round <= rounds : round <= 10 && std::count(seen, seen + 4, 0) > 0; ++round) {
        playGame(round, seen);
        if (round == 1 || round == rounds / 2 || round == rounds)
            use.push_back(workingSet()), std::printf("  %zu KiB working set\n", use.back());
    }
    std::printf("  endings: L steps %d, O pushes %d, N steps %d, N pushes %d\n", seen[0], seen[1], seen[2], seen[3]);
    check(use.size() < 3 || !(use[2] > use[1] && use[1] > use[0] && use[2] - use[0] > use[0] / 10), "no steady growth");

    group("cancel");
    press(ID_START, "4600", "New Game");
    press(ID_CANCEL, "4600", "Cancel");
    checkText(field(ID_RESULT), "Canceled", "result after Cancel");
    press(1600, "", "a tile after Cancel");
    press(ID_CANCEL, "4300", "Cancel after Cancel");

    group("Load .Bmp and the picture file");
    writePicture(bells, 1000, 750);
    loadPicture(bells, "Load .Bmp of silverbells.bmp");
    showsPicture(bells, "silverbells.bmp, 1000 x 750");
    press(ID_START, "4600", "New Game");
    readSlots(slots);
    play(at(slots, (moves = 0, 12)), slots, "4500");
    press(ID_CANCEL, "4600", "Cancel");
    // Replaced once with each control painting itself, then again with the window painted whole
    // (as when uncovered): its own paint draws the controls it can, and leaves the fields theirs.
    writePicture(bells, 301, 157);
    for (HWND control = GetWindow(game.window, GW_CHILD); control != NULL; control = GetWindow(control, GW_HWNDNEXT))
        RedrawWindow(control, NULL, NULL, RDW_INVALIDATE | RDW_ERASE);
    showsPicture(bells, "the file replaced, 301 x 157, each control painting itself");
    const std::vector<uint32_t> controls = aroundPicture(captureWindow(game.window));
    writePicture(bells, 640, 480);
    RedrawWindow(game.window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    showsPicture(bells, "replaced again, 640 x 480, the window painted whole");
    check(aroundPicture(captureWindow(game.window)) == controls, "painted whole, the buttons and fields are as before");
    DeleteFileA(bells.c_str());
    RedrawWindow(game.window, NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN);
    showsPicture("", "the file deleted");
    writePicture(bells, 301, 157);
    loadPicture(bells, "Load .Bmp of it again");
    showsPicture(bells, "the file loaded again");

    group("help, minimise, close");
    press(ID_QUESTION, "2150", "help");
    std::string log;
    const std::string beside = joinPath(folder, "snowquill-help.chm");
    check(waitFor([&]() { return readFile(helpLog, log) && log.find(beside) != std::string::npos; }, 5000),
          "help opens " + beside + ": " + log);
    press(ID_MINIMIZE, "2200", "minimise");
    check(IsIconic(game.window) != 0, "minimised");
    click(item(ID_CLOSEOUT));
    checkText(std::to_string(waitForExit(game, 5000)), "0", "exit code after close");

    group("a picture already beside the program");
    const std::string mine = freshFolder("own"), own = joinPath(mine, "BmpImages\\fernwick.bmp");
    std::string before, after;
    CreateDirectoryA(joinPath(mine, "BmpImages").c_str(), NULL);
    writePicture(own, 640, 480);
    if (!readFile(own, before) || !start(game, exe, mine) || !waitForWindow(game, "Snowquill"))
        fatal("no game window");
    check(readFile(own, after) && after == before, "it is not replaced");
    showsPicture(own, "it is shown, 640 x 480");
    return finish();
}
