// The board before anything has run: every tile home, slot 16 empty, no game, no counts.
#include <gtest/gtest.h>

#include "board.h"
#include "board_fixture.h"

namespace {

// Taken while the program starts, before any test has moved a tile.
struct AtStart {
    int slots[16];
    int x[17];
    int y[17];
    int slotCount, button, valid, quick, moves, running, won, shuffles, placed;

    AtStart()
    {
        for (int tile = 1; tile <= 15; ++tile)
            slots[tile] = tileSlot[tile];
        for (int i = 1; i <= 16; ++i) {
            x[i] = tileX[i];
            y[i] = tileY[i];
        }
        slotCount = size;
        button = ID_BUT;
        valid = validMove;
        quick = QuikMove;
        moves = movenumber;
        running = gameRunning;
        won = gameWon;
        shuffles = scramble;
        placed = seedone;
    }
};
const AtStart atStart;

TEST(StartValues, EveryTileHomeAndNoGameRunning)
{
    EXPECT_EQ(atStart.slotCount, 16);
    for (int tile = 1; tile <= 15; ++tile) {
        EXPECT_EQ(atStart.slots[tile], tile) << tileLetter(tile);
        EXPECT_EQ(atStart.x[tile], slotLeft(tile)) << tileLetter(tile);
        EXPECT_EQ(atStart.y[tile], slotTop(tile)) << tileLetter(tile);
    }
    // Slot p's pair, and tile O's at (150, 225), A's at (50, 75).
    EXPECT_EQ(atStart.x[16], 200);
    EXPECT_EQ(atStart.y[16], 225);
    EXPECT_EQ(atStart.x[15], 150);
    EXPECT_EQ(atStart.y[15], 225);
    EXPECT_EQ(atStart.x[1], 50);
    EXPECT_EQ(atStart.y[1], 75);
    EXPECT_EQ(atStart.button, 0);
    EXPECT_EQ(atStart.valid, 0);
    EXPECT_EQ(atStart.quick, 0);
    EXPECT_EQ(atStart.moves, 0);
    EXPECT_EQ(atStart.running, 0);
    EXPECT_EQ(atStart.won, 0);
    EXPECT_EQ(atStart.shuffles, 0);
    EXPECT_EQ(atStart.placed, 0);
}

// After start-up's setarray the occupancy agrees with the tiles standing home.
TEST(StartValues, SetArrayMatchesTheTilesAtHome)
{
    resetGame();
    setarray();
    EXPECT_TRUE(boardAgrees());
    EXPECT_EQ(emptyOnBoard(), 16);
}

} // namespace
