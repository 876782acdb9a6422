// Single-step moves and refusals, driven the way the window drives the board: set
// ID_BUT, call checkMove, read validMove and QuikMove.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "board.h"
#include "board_fixture.h"
#include "quick_move_table.h"

namespace {

// Neighbours worked out from the board's geometry: one row or one column apart.
bool geometricNeighbours(int slot, int other)
{
    const int rows = std::abs(rowOfSlot(slot) - rowOfSlot(other));
    const int columns = std::abs(columnOfSlot(slot) - columnOfSlot(other));
    return rows + columns == 1;
}

struct Snapshot {
    int slots[16];
    std::vector<int> occupancy;
    int x[17];
    int y[17];
    int moves, running, won, shuffles, placed;
    std::string count;

    Snapshot()
    {
        for (int tile = 1; tile <= 15; ++tile)
            slots[tile] = tileSlot[tile];
        slots[0] = 0;
        occupancy = board;
        for (int i = 0; i <= 16; ++i) {
            x[i] = tileX[i];
            y[i] = tileY[i];
        }
        moves = movenumber;
        running = gameRunning;
        won = gameWon;
        shuffles = scramble;
        placed = seedone;
        count = gameCount;
    }
};

// checkMove reads and writes nothing but the board, the tiles' slots, tile A's
// placement pair and its three flags.
::testing::AssertionResult onlyTheMoveChanged(const Snapshot &before)
{
    for (int i = 2; i <= 16; ++i)
        if (tileX[i] != before.x[i] || tileY[i] != before.y[i])
            return ::testing::AssertionFailure() << "placement pair " << i << " changed";
    if (movenumber != before.moves || gameRunning != before.running || gameWon != before.won ||
        scramble != before.shuffles || seedone != before.placed || gameCount != before.count)
        return ::testing::AssertionFailure() << "a counter or flag changed";
    return ::testing::AssertionSuccess();
}

void setGameFlags()
{
    movenumber = 17;
    gameRunning = 1;
    gameWon = 0;
    scramble = 3;
    gameCount = "17";
}

TEST(SetArray, GivesTheSolvedOccupancyWhateverTheBoardHeld)
{
    resetGame();
    for (int &entry : board)
        entry = 9;
    setarray();
    ASSERT_EQ(board.size(), 17u);
    EXPECT_EQ(board[0], 0);
    for (int slot = 1; slot <= 15; ++slot)
        EXPECT_NE(board[slot], 0) << "slot " << slot;
    EXPECT_EQ(board[16], 0);
    EXPECT_TRUE(boardAgrees());
}

// Every tile, from every slot, into every neighbouring empty slot.
TEST(SingleStep, EveryTileStepsFromEverySlotIntoEveryNeighbour)
{
    int steps = 0;
    for (int tile = 1; tile <= 15; ++tile) {
        for (int from = 1; from <= 16; ++from) {
            for (int empty = 1; empty <= 16; ++empty) {
                if (!geometricNeighbours(from, empty))
                    continue;
                SCOPED_TRACE(std::string(1, tileLetter(tile)) + " from " + std::to_string(from) + " into " +
                             std::to_string(empty));
                resetGame();
                setGameFlags();
                layOut({{tile, from}}, empty);
                posah = -1;
                posaz = -1;
                const Snapshot before;

                ID_BUT = tile;
                checkMove();

                EXPECT_EQ(validMove, 1);
                EXPECT_EQ(QuikMove, 0);
                EXPECT_EQ(ID_BUT, 0);
                EXPECT_EQ(tileSlot[tile], empty);
                for (int other = 1; other <= 15; ++other)
                    if (other != tile) {
                        EXPECT_EQ(tileSlot[other], before.slots[other]);
                    }
                EXPECT_TRUE(boardAgrees());
                EXPECT_EQ(emptyOnBoard(), from);
                EXPECT_EQ(posah, slotLeft(empty));
                EXPECT_EQ(posaz, slotTop(empty));
                EXPECT_TRUE(onlyTheMoveChanged(before));
                ++steps;
            }
        }
    }
    EXPECT_EQ(steps, 15 * 48);
}

// From any slot, the tile can step from exactly as many empty slots as the slot has
// neighbours: two in the corners, three on the edges, four in the middle.
TEST(SingleStep, CornersHaveTwoNeighboursEdgesThreeMiddleFour)
{
    for (int from = 1; from <= 16; ++from) {
        int accepted = 0;
        for (int empty = 1; empty <= 16; ++empty) {
            if (empty == from)
                continue;
            resetGame();
            layOut({{6, from}}, empty); // F: its quick moves need E or G beside it
            int slots[16];
            for (int t = 1; t <= 15; ++t)
                slots[t] = tileSlot[t];
            if (listedQuickMoveFor(6, slots, empty) != nullptr)
                continue;
            ID_BUT = 6;
            checkMove();
            if (validMove == 1)
                ++accepted;
            EXPECT_EQ(QuikMove, 0);
        }
        const bool cornerRow = rowOfSlot(from) == 0 || rowOfSlot(from) == 3;
        const bool cornerColumn = columnOfSlot(from) == 0 || columnOfSlot(from) == 3;
        const int expected = 4 - (cornerRow ? 1 : 0) - (cornerColumn ? 1 : 0);
        EXPECT_EQ(accepted, expected) << "slot " << from;
    }
}

// Every tile in every slot with every empty slot that is no neighbour: nothing moves
// unless a listed quick move applies. This takes in the ends of the rows (4/5, 8/9,
// 12/13), diagonals and slots further away, for three different fillings of the rest.
TEST(Refusal, NothingMovesUnlessANeighbourIsEmptyOrAQuickMoveApplies)
{
    std::mt19937 scatter(2026);
    for (int filling = 0; filling < 3; ++filling) {
        for (int tile = 1; tile <= 15; ++tile) {
            for (int from = 1; from <= 16; ++from) {
                for (int empty = 1; empty <= 16; ++empty) {
                    if (empty == from || geometricNeighbours(from, empty))
                        continue;
                    resetGame();
                    setGameFlags();
                    // The other tiles from the lowest free slot up, from the highest
                    // down, or scattered.
                    std::vector<int> freeSlots;
                    for (int slot = 1; slot <= 16; ++slot)
                        if (slot != from && slot != empty)
                            freeSlots.push_back(slot);
                    if (filling == 1)
                        std::reverse(freeSlots.begin(), freeSlots.end());
                    if (filling == 2)
                        std::shuffle(freeSlots.begin(), freeSlots.end(), scatter);
                    int slots[16] = {0};
                    slots[tile] = from;
                    std::size_t next = 0;
                    for (int t = 1; t <= 15; ++t)
                        if (t != tile)
                            slots[t] = freeSlots[next++];
                    layOutSlots(slots);
                    ASSERT_TRUE(boardAgrees());
                    const Snapshot before;
                    const ListedQuickMove *listed = listedQuickMoveFor(tile, before.slots, empty);
                    if (listed != nullptr)
                        continue;  // checked with the quick moves
                    validMove = 1; // left over from an earlier click: must not survive
                    QuikMove = 4;
                    ID_BUT = tile;
                    checkMove();
                    ASSERT_EQ(validMove, 0) << tileLetter(tile) << " in " << from << ", " << empty << " empty";
                    EXPECT_EQ(QuikMove, 0);
                    EXPECT_EQ(ID_BUT, 0);
                    EXPECT_EQ(board, before.occupancy);
                    for (int t = 1; t <= 15; ++t)
                        EXPECT_EQ(tileSlot[t], before.slots[t]);
                    EXPECT_EQ(posah, before.x[1]);
                    EXPECT_EQ(posaz, before.y[1]);
                    EXPECT_TRUE(onlyTheMoveChanged(before));
                }
            }
        }
    }
}

// No wrap-around from the end of one row to the start of the next, either way.
TEST(Refusal, NoStepAcrossTheEndOfARow)
{
    const int ends[3][2] = {{4, 5}, {8, 9}, {12, 13}};
    for (const auto &pair : ends) {
        for (int way = 0; way < 2; ++way) {
            const int from = pair[way];
            const int empty = pair[1 - way];
            for (int tile : {1, 4, 5, 8, 9, 12, 13}) {
                resetGame();
                layOut({{tile, from}}, empty);
                EXPECT_EQ(clickTile(tile), Click::Refused) << tileLetter(tile) << " " << from << " -> " << empty;
                EXPECT_EQ(tileSlot[tile], from);
                EXPECT_EQ(emptyOnBoard(), empty);
            }
        }
    }
}

// A click on a number that is no tile moves nothing and clears the flags.
TEST(Refusal, ClickOutsideTheTilesMovesNothing)
{
    for (int number : {0, 16, 17, -1, -15, 100, 1500, INT_MAX, INT_MIN}) {
        resetGame();
        setGameFlags();
        layOut({{12, 16}, {15, 11}}, 12); // L and O could both step
        posah = 123;
        posaz = 456;
        const Snapshot before;
        validMove = 1;
        QuikMove = 2;
        ID_BUT = number;
        checkMove();
        EXPECT_EQ(validMove, 0) << number;
        EXPECT_EQ(QuikMove, 0) << number;
        EXPECT_EQ(ID_BUT, 0) << number;
        EXPECT_EQ(board, before.occupancy) << number;
        for (int t = 1; t <= 15; ++t)
            EXPECT_EQ(tileSlot[t], before.slots[t]) << number;
        EXPECT_EQ(posah, 123);
        EXPECT_EQ(posaz, 456);
        EXPECT_TRUE(onlyTheMoveChanged(before));
    }
}

// posah, posaz: the destination of whichever tile made a single step, kept by a quick
// move and by a refusal. Slot p's pair is never touched.
TEST(PlacementOfA, FollowsSingleStepsOnly)
{
    resetGame();
    layOut({{5, 5}, {6, 6}, {7, 7}, {15, 12}, {1, 13}}, 8);
    EXPECT_EQ(clickTile(7), Click::Step); // G into 8
    EXPECT_EQ(posah, 200);
    EXPECT_EQ(posaz, 125);
    EXPECT_EQ(clickTile(7), Click::Step); // and back into 7
    EXPECT_EQ(posah, 150);
    EXPECT_EQ(posaz, 125);
    EXPECT_EQ(clickTile(5), Click::Quick); // E F G pushed along, slot 5 left empty
    EXPECT_EQ(emptyOnBoard(), 5);
    EXPECT_EQ(posah, 150);
    EXPECT_EQ(posaz, 125);
    EXPECT_EQ(clickTile(15), Click::Refused); // O in 12 is nowhere near
    EXPECT_EQ(posah, 150);
    EXPECT_EQ(posaz, 125);
    EXPECT_EQ(clickTile(1), Click::Refused); // A in 13
    EXPECT_EQ(posah, 150);
    EXPECT_EQ(posaz, 125);
    // Tile A itself stepping leaves its own destination there.
    layOut({{1, 6}}, 5);
    EXPECT_EQ(clickTile(1), Click::Step);
    EXPECT_EQ(posah, 50);
    EXPECT_EQ(posaz, 125);
    EXPECT_EQ(posph, 200);
    EXPECT_EQ(pospz, 225);
}

// A tile stepping into slot 16 is placed at (200, 225).
TEST(PlacementOfA, SlotSixteenIsTheBottomRightCorner)
{
    for (int tile : {12, 15}) {
        resetGame();
        clickTile(tile);
        EXPECT_EQ(tileSlot[tile], 16);
        EXPECT_EQ(posah, 200);
        EXPECT_EQ(posaz, 225);
        EXPECT_TRUE(boardAgrees());
    }
}

} // namespace
