// The game used from outside, from a folder named outside the code page: start-up, whole games
// to each ending (those that end by a step played from the keyboard), refusals (by keys, and
// the space bar that must not click the focused button), the clock, Load .Bmp, a push in the
// middle of a game, Cancel, the picture following its file, the pixels of tiles and preview,
// help, minimise and close.
#include "driver.h"

#include <algorithm>

#include "resource.h"
#include "solver.h"

using namespace e2e;

namespace {

Program game;
int moves = 0;

HWND item(int id)
{
    return GetDlgItem(game.window, id);
}

// Tile A's id is 500, B's 600 ...
int tileId(char letter)
{
    return 100 * (letter - '@' + 4);
}

string field(int id)
{
    return text(item(id));
}

void heard(Text ids, Text what)
{
    checkText(newSoundIds(game), ids, what);
}

void press(int id, Text ids, Text what)
{
    check(click(item(id)), what);
    heard(ids, what);
}

// Presses a key (with Ctrl) and checks the sounds of what it does, once as many have come.
void key(BYTE code, Text ids, Text what, bool control = false)
{
    pressKey(game, code, control);
    waitFor([&]() { return fileText(game.soundLog).size() > game.soundsRead + ids.size(); }, 3000);
    heard(ids, what);
}

// The board as the windows stand: the letter of the tile in each slot, '.' for the empty one
// (and for a tile off the grid).
string board()
{
    string slots(16, '.');
    for (char letter = 'A'; letter <= 'O'; ++letter) {
        POINT p = {0, 0};
        MapWindowPoints(item(tileId(letter)), game.window, &p, 1);
        const int slot = (p.y - 75) / 50 * 4 + (p.x - 50) / 50;
        if ((p.x - 50) % 50 == 0 && (p.y - 75) % 50 == 0 && slot >= 0 && slot < 16)
            slots[slot] = letter;
    }
    return slots;
}

// The slot (1..16) of each tile by its number, as the test player takes a board.
std::vector<int> slotsOf(Text board)
{
    std::vector<int> slots(16, 0);
    for (char letter = 'A'; letter <= 'O'; ++letter)
        slots[letter - '@'] = static_cast<int>(board.find(letter)) + 1;
    return slots;
}

// The board after a click on a tile in the empty slot's row or column: the tiles from it to
// the empty slot each move one slot towards it.
string slid(string slots, char letter)
{
    const int from = static_cast<int>(slots.find(letter));
    const int empty = static_cast<int>(slots.find('.'));
    const int step = (from / 4 == empty / 4 ? 1 : 4) * (from > empty ? 1 : -1);
    for (int s = empty; s != from; s += step)
        slots[s] = slots[s + step];
    slots[from] = '.';
    return slots;
}

// The arrow that slides a tile into the empty slot beside it, by the tile's place from the
// empty slot's, plus 4: above it (0) Down, left of it Right, right of it Left, below it Up.
const BYTE ARROWS[] = {VK_DOWN, 0, 0, VK_RIGHT, 0, VK_LEFT, 0, 0, VK_UP};

// Clicks a tile, or presses its arrow, and checks the moves field, what moved and the sounds.
void play(char letter, Text sounds, bool byKey = false)
{
    const string before = board();
    const string want = slid(before, letter);
    moves += 1;
    const string what = letter + (", move " + to_string(moves));
    if (byKey)
        key(ARROWS[before.find(letter) + 4 - before.find('.')], sounds, what);
    else
        press(tileId(letter), sounds, what);
    checkText(field(ID_MOVECOUNT), to_string(moves), what + ": moves field");
    checkText(board(), want, what + ": the board");
}

// The test player's clicks from the board to the target, each played and checked.
void playTo(Text target, Text sounds, bool byKey = false)
{
    for (int n : solveClicks(slotsOf(board()).data(), slotsOf(target).data()))
        play(static_cast<char>('@' + n), sounds, byKey);
}

bool isEven(Text board)
{
    return isEvenDeal(slotsOf(board).data());
}

void newGame()
{
    key(VK_F2, "4600", "F2: New Game");
    moves = 0;
    checkText(field(ID_MOVECOUNT) + field(ID_RESULT), "0 ", "the fields after New Game");
}

// The real one-second timer has not moved the clock for more than a second.
void clockStands(Text what)
{
    const string stopped = field(ID_OURCLOCK);
    check(!waitFor([&]() { return field(ID_OURCLOCK) != stopped; }, 1500), "the clock stands " + what);
}

// How a game ends: the board before its last click, and the tile clicked, by a step (an arrow
// in the keyboard's games: Up, Left) or a push.
struct Ending {
    const char *before;
    char last;
};
const Ending endings[] = {
    {"ABCDEFGHIJK.MNOL", 'L'}, // even: L steps home
    {"ABCDEFGHIJKL.MNO", 'O'}, // even: O pushes M N O
    {"ABCDEFGHIJKLMO.N", 'N'}, // odd: N steps
    {"ABCDEFGHIJKLM.ON", 'N'}, // odd: N pushes O N
};

// One game: F2, a refused click, the test player's clicks and an ending, what follows it. The
// games that end by a step are played from the keyboard.
void playGame(int round, int seen[4])
{
    group("game " + to_string(round));
    newGame();
    press(tileId(board()[0]), "4300", "a tile that can't move");
    const int even = isEven(board()) ? 0 : 2;
    const int kind = seen[even] > seen[even + 1] ? even + 1 : even;
    seen[kind] += 1;
    playTo(endings[kind].before, "2250", kind == even);
    play(endings[kind].last, even == 0 ? "2250 2350" : "2250 2500", kind == even);
    checkText(field(ID_RESULT), even == 0 ? "Solved" : "Unsolvable", "result");
    clockStands("after the end");
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "snowquill end to end");
    const string elsewhere = freshFolder("elsewhere");
    const string folder = freshFolder(FOREIGN_NAME);
    const string helpCopy = joinPath(elsewhere, "help.copy");
    // The help viewer in the test's prefix: a command that copies the file it is given.
    const string viewer = "cmd /c copy \"%1\" \"" + helpCopy + "\"";
    RegSetValueA(HKEY_CLASSES_ROOT, ".chm", REG_SZ, "SnowquillHelpRecorder", 0);
    RegSetValueA(HKEY_CLASSES_ROOT, "SnowquillHelpRecorder\\shell\\open\\command", REG_SZ, viewer.c_str(), 0);
    writeFile(joinPath(elsewhere, "snowquill-help.chm"), "a decoy in the current folder");
    copyFile(requiredOption("chm"), joinPath(folder, "snowquill-help.chm"));

    group("start-up");
    if (!check(start(game, requiredOption("game"), folder, StartOptions{elsewhere}) && waitForWindow(game, "Snowquill"),
               "a game window"))
        return finish();
    check(fileText(joinPath(folder, "BmpImages\\fernwick.bmp")) == fileText(requiredOption("reference")),
          "the default picture is written beside the program");
    checkText(board(), "ABCDEFGHIJKLMNO.", "tiles at home");
    showsPieces(game, ID_DISPLAY, 16, requiredOption("reference"), "the default picture, 192 x 192");

    group("clock and refusals");
    press(ID_START, "4600", "New Game");
    key(VK_F2, "4300", "F2 during a game");
    pressKey(game, VK_SPACE); // on New Game, which has the focus
    key('O', "4400", "Ctrl+O during a game, after the space bar, which does nothing", true);
    for (int i = 0; i < 3600 && field(ID_RESULT) == " "; ++i)
        SendMessageA(game.window, WM_TIMER, ID_TIMER, 0);
    checkText(field(ID_OURCLOCK) + " " + field(ID_RESULT), "59:59 Time's up!", "the 3600th tick ends the game");
    heard("2500", "time's up");

    int seen[4] = {};
    for (int round = 1; std::count(seen, seen + 4, 0) > 0; ++round)
        playGame(round, seen);

    group("Load .Bmp; a push in the middle of a game; Cancel");
    const string bells = joinPath(elsewhere, "silverbells.bmp");
    writeFile(bells, bmpFile(1000, 750));
    check(choose(game, ID_PICTURES, bells), "Load .Bmp of silverbells.bmp");
    heard("2150", "Load .Bmp");
    newGame();
    // I J K before the empty slot, so that a click on I pushes them: a push that can't end the
    // game. L M N O after it, in the order that fits the deal's parity.
    string pushable = "ABCDEFGHIJK.LMNO";
    if (isEven(pushable) != isEven(board()))
        pushable = "ABCDEFGHIJK.LMON";
    playTo(pushable, "4500");
    play('I', "4500");
    press(ID_CANCEL, "4600", "Cancel");
    checkText(field(ID_RESULT), "Canceled", "result after Cancel");
    clockStands("after Cancel");
    press(ID_BUTTONL, "", "a tile after Cancel");
    press(ID_CANCEL, "4300", "Cancel after Cancel");

    group("the picture file replaced and removed");
    // Replaced, with the window painted whole (as when uncovered at once): its own paint draws the
    // controls it can, and leaves the fields theirs.
    writeFile(bells, bmpFile(301, 157));
    RedrawWindow(game.window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    showsPieces(game, ID_DISPLAY, 16, bells, "the file replaced, 301 x 157, the window painted whole");
    DeleteFileA(bells.c_str());
    RedrawWindow(game.window, NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN);
    showsPieces(game, ID_DISPLAY, 16, "", "the file deleted: lettered tiles");

    group("help, minimise, close");
    key(VK_F1, "2150", "F1: help");
    check(waitFor([&]() { return fileText(helpCopy) == fileText(requiredOption("chm")); }, 5000),
          "help opens the file beside the program");
    press(ID_MINIMIZE, "2200", "minimise");
    check(IsIconic(game.window), "minimised");
    click(item(ID_CLOSEOUT));
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(game.process.hProcess, 5000);
    check(GetExitCodeProcess(game.process.hProcess, &code) && code == 0, "closed, exit code 0");

    return finish();
}
