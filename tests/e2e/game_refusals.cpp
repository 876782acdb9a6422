// Requests that do not fit the game's state: each is answered by its sound alone, and
// nothing else changes.
#include "game_support.h"

#include <algorithm>

using namespace e2e;
using namespace game;

namespace {

struct Snapshot {
    int slots[TILES + 1];
    std::string moves;
    std::string result;
    std::string clock;
};

Snapshot take(const Game &game)
{
    Snapshot snapshot;
    readSlots(game, snapshot.slots);
    snapshot.moves = movesField(game);
    snapshot.result = resultField(game);
    snapshot.clock = clockField(game);
    return snapshot;
}

// Board, moves and result as before; the clock not set back.
void checkUnchanged(const Game &game, const Snapshot &before, const std::string &what)
{
    const Snapshot after = take(game);
    check(std::equal(before.slots, before.slots + TILES + 1, after.slots),
          what + ": the tiles stay where they were (" + describeSlots(after.slots) + ")");
    checkText(after.moves, before.moves, what + ": moves field");
    checkText(after.result, before.result, what + ": result field");
    check(clockSeconds(after.clock) >= clockSeconds(before.clock),
          what + ": the clock is not set back (" + before.clock + " then " + after.clock + ")");
}

int tileInSlot(const int slots[TILES + 1], int slot)
{
    for (int tile = 1; tile <= TILES; ++tile)
        if (slots[tile] == slot)
            return tile;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "refused requests");
    Game game;
    launch(game, "refusals");

    group("before the first game");
    Snapshot start = take(game);
    for (int tile = 1; tile <= TILES; ++tile)
        click(game.tile[tile]);
    expectSounds(game, {}, "tile clicks before a game");
    checkUnchanged(game, start, "tile clicks before a game");
    checkText(clockField(game), "0:00", "the clock does not start");
    click(game.cancel);
    expectSounds(game, {IDW_REFUSED}, "Cancel without a game");
    checkUnchanged(game, start, "Cancel without a game");

    group("during a game");
    click(game.newGame);
    expectSounds(game, {IDW_NEWGAME}, "New Game");
    sendTimer(game.window, ID_TIMER, 5);
    Snapshot running = take(game);
    check(clockSeconds(running.clock) >= 5, "five ticks counted: " + running.clock);

    click(game.newGame);
    expectSounds(game, {IDW_REFUSED}, "New Game during a game");
    checkUnchanged(game, running, "New Game during a game");

    if (!click(game.loadBmp, 3000)) {
        check(false, "Load .Bmp during a game returns at once (it opened something)");
        HWND dialog = waitForDialog(game.program.process.dwProcessId, 1000);
        if (dialog != NULL)
            cancelDialog(dialog);
    }
    expectSounds(game, {IDW_BUSY}, "Load .Bmp during a game");
    check(topWindows(game.program.process.dwProcessId, "#32770").empty(), "no open-file dialog during a game");
    checkUnchanged(game, running, "Load .Bmp during a game");

    // After a deal slot 1 can never move: its neighbours are full and no push reaches it.
    const int stuck = tileInSlot(running.slots, 1);
    click(game.tile[stuck]);
    expectSounds(game, {IDW_REFUSED}, "a click on a tile that cannot move");
    checkUnchanged(game, running, "a click on a tile that cannot move");

    // The tile above the empty slot 16 steps down.
    const int mover = tileInSlot(running.slots, 12);
    click(game.tile[mover]);
    expectSounds(game, {IDW_MOVE}, "a move");
    checkText(movesField(game), "1", "moves field after a move");
    running = take(game);
    checkEqual(running.slots[mover], 16, "the tile above the empty slot stepped down");

    group("Cancel during a game");
    click(game.cancel);
    expectSounds(game, {IDW_NEWGAME}, "Cancel during a game");
    Snapshot canceled = take(game);
    checkText(canceled.result, "Canceled", "result field");
    checkText(canceled.moves, "1", "moves field keeps its count");
    check(std::equal(running.slots, running.slots + TILES + 1, canceled.slots), "the tiles stay where they were");
    const bool stood = holds([&]() { return clockField(game) == canceled.clock; }, 1500);
    check(stood, "the clock stops at " + canceled.clock + " (then showed " + clockField(game) + ")");

    group("after the game ended");
    for (int tile = 1; tile <= TILES; ++tile)
        click(game.tile[tile]);
    expectSounds(game, {}, "tile clicks after Cancel");
    checkUnchanged(game, canceled, "tile clicks after Cancel");
    click(game.cancel);
    expectSounds(game, {IDW_REFUSED}, "Cancel after the game ended");
    checkUnchanged(game, canceled, "Cancel after the game ended");

    closeAndCheckExit(game);
    return finish();
}
