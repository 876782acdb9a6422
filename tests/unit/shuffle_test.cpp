// The shuffle: fifteen tiles dealt at random over slots 1 to 15, slot 16 left empty,
// the generator seeded once per run from the clock.
#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "board.h"
#include "board_fixture.h"

namespace {

// Stand-ins for the generator, its seed and the clock, so the tests can watch them.
std::vector<unsigned int> seeds;
int clockCalls = 0;
std::time_t clockNow = 0;
std::vector<int> script; // draws handed out in turn; past its end, the real generator
std::size_t scriptNext = 0;
int draws = 0;
std::vector<int> placedAtDraw; // seedone at each draw

void recordSeed(unsigned int seed)
{
    seeds.push_back(seed);
    std::srand(seed);
}

std::time_t fixedClock(std::time_t *out)
{
    ++clockCalls;
    if (out != nullptr)
        *out = clockNow;
    return clockNow;
}

int scriptedDraw()
{
    ++draws;
    placedAtDraw.push_back(seedone);
    if (scriptNext < script.size())
        return script[scriptNext++];
    return std::rand();
}

class Shuffle : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetGame();
        seeds.clear();
        clockCalls = 0;
        clockNow = 1765000000;
        script.clear();
        scriptNext = 0;
        draws = 0;
        placedAtDraw.clear();
        scramble = 0;
        randomDraw = scriptedDraw;
        randomSeed = recordSeed;
        clockSeconds = fixedClock;
    }
    void TearDown() override
    {
        randomDraw = std::rand;
        randomSeed = std::srand;
        clockSeconds = std::time;
        resetGame();
    }
};

// Sign of the order of tiles over slots 1 to 15: with slot 16 empty, an odd order can't
// be brought to the picture.
bool oddDeal()
{
    int inversions = 0;
    for (int i = 1; i <= 15; ++i)
        for (int j = i + 1; j <= 15; ++j)
            if (board[i] != 0 && board[j] != 0 && board[i] > board[j])
                ++inversions;
    return inversions % 2 == 1;
}

// What every deal must leave behind.
::testing::AssertionResult dealtProperly()
{
    if (board.size() != 17)
        return ::testing::AssertionFailure() << "board has " << board.size() << " entries";
    if (board[16] != 0)
        return ::testing::AssertionFailure() << "board[16] is " << board[16];
    bool seen[16] = {false};
    for (int slot = 1; slot <= 15; ++slot) {
        const int tile = board[slot];
        if (tile < 1 || tile > 15 || seen[tile])
            return ::testing::AssertionFailure() << "board[" << slot << "] is " << tile;
        seen[tile] = true;
        if (tileSlot[tile] != slot)
            return ::testing::AssertionFailure()
                   << "tile " << tileLetter(tile) << " is on slot " << slot << " but says " << tileSlot[tile];
    }
    for (int tile = 1; tile <= 15; ++tile)
        if (tileX[tile] != slotLeft(tileSlot[tile]) || tileY[tile] != slotTop(tileSlot[tile]))
            return ::testing::AssertionFailure() << "tile " << tileLetter(tile) << " placed at (" << tileX[tile] << ", "
                                                 << tileY[tile] << ") for slot " << tileSlot[tile];
    if (posph != 200 || pospz != 225)
        return ::testing::AssertionFailure() << "slot p's pair became (" << posph << ", " << pospz << ")";
    if (seedone != 0)
        return ::testing::AssertionFailure() << "seedone is " << seedone;
    return ::testing::AssertionSuccess();
}

TEST_F(Shuffle, ManyDealsAreProperAndAboutHalfAreOdd)
{
    const int deals = 4000;
    int odd = 0;
    int solvedFirstSlot = 0;
    for (int deal = 1; deal <= deals; ++deal) {
        // The game's flags and counters as a running game has them; the shuffle leaves them.
        movenumber = 0;
        gameRunning = 1;
        gameWon = 0;
        validMove = 1;
        QuikMove = 3;
        ID_BUT = 0;
        gameCount = "0";
        fillboard();
        ASSERT_TRUE(dealtProperly()) << "deal " << deal;
        ASSERT_EQ(board[0], 0);
        ASSERT_EQ(movenumber, 0);
        ASSERT_EQ(gameRunning, 1);
        ASSERT_EQ(gameWon, 0);
        ASSERT_EQ(validMove, 1);
        ASSERT_EQ(QuikMove, 3);
        ASSERT_EQ(ID_BUT, 0);
        ASSERT_EQ(gameCount, "0");
        ASSERT_EQ(scramble, deal);
        if (oddDeal())
            ++odd;
        if (tileSlot[1] == 1)
            ++solvedFirstSlot;
    }
    EXPECT_GT(odd, deals * 45 / 100);
    EXPECT_LT(odd, deals * 55 / 100);
    // Tile A lands on each slot about one time in fifteen.
    EXPECT_GT(solvedFirstSlot, deals / 15 / 2);
    EXPECT_LT(solvedFirstSlot, deals / 15 * 2);
    // Seeded once, on the first deal, with the clock's seconds.
    ASSERT_EQ(seeds.size(), 1u);
    EXPECT_EQ(seeds[0], static_cast<unsigned int>(clockNow));
    EXPECT_EQ(clockCalls, 1);
}

TEST_F(Shuffle, EveryTileLandsOnEverySlot)
{
    int landed[16][17] = {{0}};
    for (int deal = 0; deal < 3000; ++deal) {
        fillboard();
        for (int tile = 1; tile <= 15; ++tile)
            ++landed[tile][tileSlot[tile]];
    }
    for (int tile = 1; tile <= 15; ++tile) {
        for (int slot = 1; slot <= 15; ++slot)
            EXPECT_GT(landed[tile][slot], 100) << tileLetter(tile) << " in " << slot;
        EXPECT_EQ(landed[tile][16], 0) << tileLetter(tile) << " dealt into slot 16";
    }
}

// Whatever the board and the tiles' slots held before, the deal comes out whole, and
// entry 0 is left as it was.
TEST_F(Shuffle, WorksWhateverTheBoardHeldBefore)
{
    const int leftovers[] = {0, 7, -1, 16};
    for (int leftover : leftovers) {
        for (int &entry : board)
            entry = leftover;
        board[0] = 0;
        for (int tile = 1; tile <= 15; ++tile)
            tileSlot[tile] = leftover == 7 ? 7 : 16; // stale slots from a finished game
        for (int i = 1; i <= 15; ++i) {
            tileX[i] = -5;
            tileY[i] = -5;
        }
        fillboard();
        EXPECT_TRUE(dealtProperly()) << "board full of " << leftover;
        EXPECT_EQ(board[0], 0);
    }
    // An entry 0 that is not 0 is not the shuffle's to touch either.
    board[0] = 99;
    fillboard();
    EXPECT_EQ(board[0], 99);
    board[0] = 0;
    EXPECT_TRUE(dealtProperly());
}

// A draw that lands on a taken slot is drawn again; the slot is the draw mod 15, plus 1.
TEST_F(Shuffle, TakenSlotsAreDrawnAgain)
{
    // Tile n first draws the slot of tile n - 1 (taken), then slot 16 - n.
    // A takes its first draw, 14 -> slot 15.
    script.push_back(14);
    for (int tile = 2; tile <= 15; ++tile) {
        script.push_back(15 * tile + (16 - (tile - 1)) - 1); // slot of the tile before
        script.push_back(30 * tile + (16 - tile) - 1);       // slot 16 - tile
    }
    fillboard();
    EXPECT_EQ(draws, 29);
    // While a tile is drawn for, seedone counts the tiles placed before it.
    std::vector<int> placing = {0};
    for (int tile = 2; tile <= 15; ++tile) {
        placing.push_back(tile - 1);
        placing.push_back(tile - 1);
    }
    EXPECT_EQ(placedAtDraw, placing);
    EXPECT_EQ(seedone, 0);
    for (int tile = 1; tile <= 15; ++tile) {
        EXPECT_EQ(tileSlot[tile], 16 - tile) << tileLetter(tile);
        EXPECT_EQ(board[16 - tile], tile);
    }
    EXPECT_TRUE(dealtProperly());
    EXPECT_EQ(posah, 150); // slot 15
    EXPECT_EQ(posaz, 225);
    EXPECT_EQ(posoh, 50); // slot 1
    EXPECT_EQ(posoz, 75);
}

// The last tile redraws until it hits the one slot still free, however long that takes.
TEST_F(Shuffle, TheLastTileWaitsForTheLastFreeSlot)
{
    for (int tile = 1; tile <= 14; ++tile)
        script.push_back(tile - 1); // A to N in slots 1 to 14
    for (int i = 0; i < 500; ++i)
        script.push_back(i % 14); // all taken
    script.push_back(14);         // slot 15
    fillboard();
    EXPECT_EQ(draws, 14 + 500 + 1);
    EXPECT_EQ(tileSlot[15], 15);
    EXPECT_TRUE(dealtProperly());
}

// Seeded on the first shuffle of the run only: a second deal in the same second goes
// on with the sequence instead of dealing the same again.
TEST_F(Shuffle, SeededOnlyOnTheFirstShuffle)
{
    fillboard();
    ASSERT_EQ(seeds.size(), 1u);
    EXPECT_EQ(seeds[0], static_cast<unsigned int>(clockNow));
    int first[16];
    for (int tile = 1; tile <= 15; ++tile)
        first[tile] = tileSlot[tile];

    bool different = false;
    for (int deal = 0; deal < 5; ++deal) {
        fillboard();
        for (int tile = 1; tile <= 15; ++tile)
            different = different || tileSlot[tile] != first[tile];
    }
    EXPECT_EQ(seeds.size(), 1u);
    EXPECT_EQ(clockCalls, 1);
    EXPECT_EQ(scramble, 6);
    EXPECT_TRUE(different);

    // The first deal is what the generator gives after seeding with the clock.
    const std::vector<int> firstDeal(first + 1, first + 16);
    scramble = 0;
    clockNow = 1765000000; // the same second again, in a new run
    fillboard();
    ASSERT_EQ(seeds.size(), 2u);
    EXPECT_EQ(std::vector<int>(tileSlot + 1, tileSlot + 16), firstDeal);
}

// A run that has dealt before is not seeded again, whatever the clock says.
TEST_F(Shuffle, ALaterDealIgnoresTheClock)
{
    scramble = 4;
    fillboard();
    EXPECT_TRUE(seeds.empty());
    EXPECT_EQ(clockCalls, 0);
    EXPECT_EQ(scramble, 5);
    EXPECT_TRUE(dealtProperly());
}

} // namespace
