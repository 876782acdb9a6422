// Plays a short scripted sequence on the game and saves a picture of its window: for
// scripts/run.sh on a machine without a display, so that a newcomer sees the game.
//   snowquill_showcase.exe --game=<snowquill.exe> --work=<folder> --out=<picture.bmp>
#include "game_support.h"

#include <cstdio>

using namespace e2e;
using namespace game;

namespace {

// A tile next to the empty slot, other than the one that just moved.
int tileBesideEmpty(const int slots[TILES + 1], int lastMoved)
{
    const int empty = emptySlot(slots);
    for (int tile = 1; tile <= TILES; ++tile) {
        const int slot = slots[tile];
        const bool sameRow = (slot - 1) / 4 == (empty - 1) / 4 && (slot - empty == 1 || empty - slot == 1);
        const bool sameColumn = slot - empty == 4 || empty - slot == 4;
        if ((sameRow || sameColumn) && tile != lastMoved)
            return tile;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "snowquill showcase");
    const std::string out = requiredOption("out");
    StartOptions options;
    options.recordSounds = false;
    Game game;
    launch(game, "game", options);

    click(game.newGame);
    int lastMoved = 0;
    for (int move = 0; move < 6; ++move) {
        int slots[TILES + 1];
        readSlots(game, slots);
        lastMoved = tileBesideEmpty(slots, lastMoved);
        if (lastMoved == 0)
            break;
        click(game.tile[lastMoved]);
    }
    sendTimer(game.window, ID_TIMER, 42);
    check(movesField(game) == "6", "six moves were made: " + movesField(game));

    // Let the last repaints land: two captures in a row that agree.
    Image shot = captureWindow(game.window);
    waitFor(
        [&]() {
            Sleep(200);
            const Image next = captureWindow(game.window);
            const bool settled = next.pixels == shot.pixels;
            shot = next;
            return settled;
        },
        5000);
    check(saveBmp(out, shot), "the picture of the window is saved to " + out);
    click(game.cancel);
    closeAndCheckExit(game);
    return finish();
}
