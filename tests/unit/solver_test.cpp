// Whole games: the test player's clicks, played on dealt boards through the move rule
// alone, finish every deal, even ones as "Solved" and odd ones as "Unsolvable".
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "board.h"
#include "board_fixture.h"
#include "solver.h"
#include "sound_recorder.h"

namespace {

const int N = 14, O = 15;

std::mt19937 generator(1225);

int tileInSlot(int slot)
{
    for (int tile = 1; tile <= 15; ++tile)
        if (tileSlot[tile] == slot)
            return tile;
    return 0;
}

int drawFromGenerator() { return static_cast<int>(generator() >> 1); }

struct Game {
    int clicks = 0;
    int quickMoves = 0;
    int result = 0; // gameWon left by the last click
};

// New Game, then every click as the window makes it; stops at a refused click or when
// the game ends before the clicks do.
::testing::AssertionResult playDeal(bool useQuickMoves, Game &game)
{
    movenumber = 0;
    gameRunning = 1;
    gameWon = 0;
    playedSounds.clear();
    fillboard();
    int slots[16] = {0};
    for (int tile = 1; tile <= 15; ++tile)
        slots[tile] = tileSlot[tile];
    const bool even = isEvenDeal(slots);
    const std::vector<int> clicks = solveClicks(slots, useQuickMoves);
    game = Game();
    game.clicks = static_cast<int>(clicks.size());

    for (std::size_t i = 0; i < clicks.size(); ++i) {
        if (gameRunning != 1)
            return ::testing::AssertionFailure() << "the game ended before click " << i + 1 << " of " << clicks.size();
        const Click click = clickTile(clicks[i]);
        if (click == Click::Refused)
            return ::testing::AssertionFailure() << "click " << i + 1 << " on " << tileLetter(clicks[i]) << " refused";
        if (click == Click::Quick)
            ++game.quickMoves;
        if (!boardAgrees())
            return ::testing::AssertionFailure() << "after click " << i + 1 << ": " << boardAgrees().message();
        if (gameWon != 0) {
            game.result = gameWon;
            gameWon = 0; // the window shows the result and clears it
        }
    }
    if (clicks.empty()) {
        // Dealt already finished: nothing to click.
        for (int tile = 1; tile <= 13; ++tile)
            if (tileSlot[tile] != tile)
                return ::testing::AssertionFailure() << "no clicks for an unfinished deal";
        return ::testing::AssertionSuccess();
    }
    if (game.result != (even ? 1 : 2) || gameRunning != 0)
        return ::testing::AssertionFailure() << (even ? "even" : "odd") << " deal ended with " << game.result;
    if (playedSounds != std::vector<int>{even ? 4 : 5})
        return ::testing::AssertionFailure() << "wrong sounds for the end";
    if (movenumber != game.clicks)
        return ::testing::AssertionFailure() << movenumber << " moves counted for " << game.clicks << " clicks";
    if (gameCount != std::to_string(game.clicks))
        return ::testing::AssertionFailure() << "moves field says " << gameCount;
    return ::testing::AssertionSuccess();
}

class SolverGames : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetGame();
        randomDraw = drawFromGenerator;
    }
    void TearDown() override
    {
        randomDraw = std::rand;
        resetGame();
    }
};

TEST_F(SolverGames, FinishesThousandsOfDealsWithQuickMoves)
{
    const int deals = 2000;
    int gamesWithQuickMoves = 0;
    int evenDeals = 0;
    long clicks = 0;
    for (int deal = 0; deal < deals; ++deal) {
        Game game;
        ASSERT_TRUE(playDeal(true, game)) << "deal " << deal;
        if (game.quickMoves > 0)
            ++gamesWithQuickMoves;
        if (game.result == 1)
            ++evenDeals;
        clicks += game.clicks;
    }
    RecordProperty("games_with_quick_moves", gamesWithQuickMoves);
    RecordProperty("clicks_per_game", static_cast<int>(clicks / deals));
    EXPECT_GT(gamesWithQuickMoves, deals / 2);
    EXPECT_GT(evenDeals, deals * 45 / 100);
    EXPECT_LT(evenDeals, deals * 55 / 100);
}

TEST_F(SolverGames, FinishesThousandsOfDealsWithSingleStepsOnly)
{
    const int deals = 1000;
    for (int deal = 0; deal < deals; ++deal) {
        Game game;
        ASSERT_TRUE(playDeal(false, game)) << "deal " << deal;
        EXPECT_EQ(game.quickMoves, 0);
    }
}

// Quick moves replace runs of single steps: the same deal takes fewer clicks with them.
TEST_F(SolverGames, QuickMovesSaveClicks)
{
    int fewer = 0;
    for (int deal = 0; deal < 200; ++deal) {
        fillboard();
        int slots[16];
        for (int tile = 1; tile <= 15; ++tile)
            slots[tile] = tileSlot[tile];
        const std::size_t steps = solveClicks(slots, false).size();
        const std::size_t quick = solveClicks(slots, true).size();
        EXPECT_LE(quick, steps);
        if (quick < steps)
            ++fewer;
    }
    EXPECT_GT(fewer, 100);
}

// The parity of a position: even exactly when it can be played to the picture.
TEST(SolverParity, EvenExactlyWhenThePictureCanBeReached)
{
    int home[16];
    for (int tile = 0; tile <= 15; ++tile)
        home[tile] = tile;
    EXPECT_TRUE(isEvenDeal(home));
    int swapped[16];
    for (int tile = 0; tile <= 15; ++tile)
        swapped[tile] = tile;
    swapped[N] = 15;
    swapped[O] = 14;
    EXPECT_FALSE(isEvenDeal(swapped));

    // Random walks of single steps from either end keep the parity, wherever the empty
    // slot ends up; exchanging two tiles changes it.
    std::mt19937 walk(7);
    for (int start = 0; start < 2; ++start) {
        for (int trial = 0; trial < 300; ++trial) {
            resetGame();
            layOutSlots(start == 0 ? home : swapped);
            const int length = static_cast<int>(walk() % 200);
            for (int step = 0; step < length; ++step) {
                const int empty = emptyOnBoard();
                const int candidates[4] = {empty - 4, empty + 4, columnOfSlot(empty) > 0 ? empty - 1 : 0,
                                           columnOfSlot(empty) < 3 ? empty + 1 : 0};
                const int from = candidates[walk() % 4];
                if (from < 1 || from > 16)
                    continue;
                ID_BUT = tileInSlot(from);
                checkMove();
                ASSERT_EQ(validMove, 1);
            }
            int slots[16];
            for (int tile = 1; tile <= 15; ++tile)
                slots[tile] = tileSlot[tile];
            EXPECT_EQ(isEvenDeal(slots), start == 0);
            std::swap(slots[1 + walk() % 15], slots[1 + walk() % 15]);
            int distinct = 0;
            for (int tile = 1; tile <= 15; ++tile)
                distinct += slots[tile] != tileSlot[tile] ? 1 : 0;
            if (distinct == 2) {
                EXPECT_EQ(isEvenDeal(slots), start != 0);
            }
        }
    }
}

// Positions with the empty slot anywhere, reached by moves from either end, are played
// back to their end.
TEST(SolverPositions, PlaysBackPositionsWithTheEmptySlotAnywhere)
{
    std::mt19937 walk(11);
    for (int trial = 0; trial < 400; ++trial) {
        const bool even = trial % 2 == 0;
        resetGame();
        if (!even)
            layOut({{N, 15}, {O, 14}}, 16);
        for (int step = 0; step < 300; ++step) {
            const int empty = emptyOnBoard();
            const int candidates[4] = {empty - 4, empty + 4, columnOfSlot(empty) > 0 ? empty - 1 : 0,
                                       columnOfSlot(empty) < 3 ? empty + 1 : 0};
            const int from = candidates[walk() % 4];
            if (from >= 1 && from <= 16) {
                ID_BUT = tileInSlot(from);
                checkMove();
            }
        }
        int slots[16];
        for (int tile = 1; tile <= 15; ++tile)
            slots[tile] = tileSlot[tile];
        ASSERT_EQ(isEvenDeal(slots), even);
        gameRunning = 1;
        const std::vector<int> clicks = solveClicks(slots, trial % 4 < 2);
        for (int tile : clicks)
            ASSERT_NE(clickTile(tile), Click::Refused);
        for (int tile = 1; tile <= 13; ++tile)
            EXPECT_EQ(tileSlot[tile], tile);
        EXPECT_EQ(tileSlot[N], even ? 14 : 15);
        EXPECT_EQ(tileSlot[O], even ? 15 : 14);
        if (!clicks.empty()) {
            EXPECT_EQ(gameRunning, 0);
            EXPECT_EQ(gameWon, even ? 1 : 2);
        }
    }
    resetGame();
}

TEST(SolverPositions, NothingToDoAtEitherEndOrForNoPosition)
{
    int home[16];
    for (int tile = 0; tile <= 15; ++tile)
        home[tile] = tile;
    EXPECT_TRUE(solveClicks(home, true).empty());
    int swapped[16];
    for (int tile = 0; tile <= 15; ++tile)
        swapped[tile] = tile;
    swapped[N] = 15;
    swapped[O] = 14;
    EXPECT_TRUE(solveClicks(swapped, false).empty());
    int twice[16];
    for (int tile = 0; tile <= 15; ++tile)
        twice[tile] = tile;
    twice[2] = 1; // A and B both in slot 1
    EXPECT_TRUE(solveClicks(twice, true).empty());
    EXPECT_FALSE(isEvenDeal(twice));
    int outside[16];
    for (int tile = 0; tile <= 15; ++tile)
        outside[tile] = tile;
    outside[O] = 17;
    EXPECT_TRUE(solveClicks(outside, true).empty());
}

// Fast: a thousand deals solved in under a second of processor time (not wall time, so
// that other work on the machine doesn't count).
TEST(SolverSpeed, AThousandDealsInLessThanASecond)
{
    std::mt19937 shuffler(3);
    const std::clock_t start = std::clock();
    std::size_t total = 0;
    for (int deal = 0; deal < 1000; ++deal) {
        int order[15];
        for (int i = 0; i < 15; ++i)
            order[i] = i + 1;
        std::shuffle(order, order + 15, shuffler);
        int slots[16] = {0};
        for (int i = 0; i < 15; ++i)
            slots[order[i]] = i + 1;
        const std::vector<int> clicks = solveClicks(slots, true);
        EXPECT_FALSE(clicks.empty());
        total += clicks.size();
    }
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_LT(seconds, 1.0);
    RecordProperty("clicks", static_cast<int>(total));
}

} // namespace
