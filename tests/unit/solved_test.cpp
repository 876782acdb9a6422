// The solved test: every call counts one move; the whole picture ends the game as
// "Solved", the picture with N and O changed round as "Unsolvable".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board.h"
#include "board_fixture.h"
#include "sound_recorder.h"

namespace {

const int L = 12, M = 13, N = 14, O = 15;

class SolvedTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetGame();
        gameRunning = 1;
    }
    void TearDown() override { resetGame(); }
};

// The result field's text, as the window would show it after the call.
std::string resultShown()
{
    if (gameWon == 1)
        return "Solved";
    if (gameWon == 2)
        return "Unsolvable";
    return "";
}

TEST_F(SolvedTest, EveryCallCountsExactlyOneMove)
{
    layOut({{L, 16}}, 12);
    for (int call = 1; call <= 12; ++call) {
        checkWin();
        EXPECT_EQ(movenumber, call);
        EXPECT_EQ(gameCount, std::to_string(call));
        EXPECT_EQ(gameRunning, 1);
        EXPECT_EQ(gameWon, 0);
    }
    EXPECT_TRUE(playedSounds.empty());

    movenumber = 998;
    checkWin();
    EXPECT_EQ(movenumber, 999);
    EXPECT_EQ(gameCount, "999");

    // The ending call counts too.
    layOut({}, 16);
    movenumber = 41;
    checkWin();
    EXPECT_EQ(movenumber, 42);
    EXPECT_EQ(gameCount, "42");
}

TEST_F(SolvedTest, TheWholePictureIsSolved)
{
    layOut({}, 16);
    checkWin();
    EXPECT_EQ(gameWon, 1);
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(playedSounds, std::vector<int>{4});
    EXPECT_EQ(resultShown(), "Solved");
    EXPECT_EQ(movenumber, 1);
}

TEST_F(SolvedTest, NAndOChangedRoundIsUnsolvable)
{
    layOut({{N, 15}, {O, 14}}, 16);
    checkWin();
    EXPECT_EQ(gameWon, 2);
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(playedSounds, std::vector<int>{5});
    EXPECT_EQ(resultShown(), "Unsolvable");
    EXPECT_EQ(movenumber, 1);
}

// Only the tiles' slots decide; the occupancy is not looked at.
TEST_F(SolvedTest, DecidedByTheTilesSlotsAlone)
{
    layOut({}, 16);
    for (int &entry : board)
        entry = 0;
    checkWin();
    EXPECT_EQ(gameWon, 1);
}

// Positions next to the two ends are neither.
TEST_F(SolvedTest, NearlyFinishedPositionsGoOn)
{
    const std::vector<std::vector<std::pair<int, int>>> nearly = {
        {{1, 2}, {2, 1}},            // A and B changed round
        {{M, 14}, {N, 13}},          // M and N changed round
        {{M, 15}, {N, 13}, {O, 14}}, // M, N, O turned round
        {{N, 15}, {O, 16}},          // O still out in slot 16
        {{L, 16}},                   // L still out in slot 16
        {{N, 16}, {O, 14}},          // N still out in slot 16
        {{M, 16}},
    };
    for (const auto &placed : nearly) {
        resetGame();
        gameRunning = 1;
        // The tiles not named stay home; the empty slot is the one nobody holds.
        bool held[17] = {false};
        for (int tile = 1; tile <= 15; ++tile)
            held[tile] = true;
        for (const auto &tileAndSlot : placed)
            held[tileAndSlot.first] = false;
        for (const auto &tileAndSlot : placed)
            held[tileAndSlot.second] = true;
        int empty = 0;
        for (int slot = 1; slot <= 16; ++slot)
            if (!held[slot])
                empty = slot;
        layOut(placed, empty);
        checkWin();
        EXPECT_EQ(gameWon, 0) << placed.size();
        EXPECT_EQ(gameRunning, 1);
        EXPECT_TRUE(playedSounds.empty());
        EXPECT_EQ(movenumber, 1);
    }
}

// A move that reaches neither end: still counted, the game goes on.
TEST_F(SolvedTest, AMoveThatEndsNothingCountsAndTheGameGoesOn)
{
    layOut({{N, 16}, {O, 14}}, 15); // N can step into 15 or O into 15
    movenumber = 7;
    EXPECT_EQ(clickTile(O), Click::Step); // O into 15: N is still out in 16
    EXPECT_EQ(movenumber, 8);
    EXPECT_EQ(gameCount, "8");
    EXPECT_EQ(gameRunning, 1);
    EXPECT_EQ(gameWon, 0);
    EXPECT_TRUE(playedSounds.empty());
    // A quick move of N that ends nothing: M15 N16 pushed into 14.
    layOut({{M, 15}, {N, 16}}, 14);
    EXPECT_EQ(clickTile(N), Click::Quick);
    EXPECT_EQ(QuikMove, 2);
    EXPECT_EQ(movenumber, 9);
    EXPECT_EQ(gameRunning, 1);
    EXPECT_EQ(gameWon, 0);
}

// Each way of finishing the board, played by a real click from the position one move
// before it, as the window plays it.
struct Ending {
    const char *name;
    std::vector<std::pair<int, int>> placed;
    int empty;
    int tile;
    int quickCode; // 0 for a single step
    int result;    // 1 solved, 2 unsolvable
};

TEST_F(SolvedTest, EveryWayOfFinishingReachedByARealMove)
{
    const std::vector<Ending> endings = {
        {"L steps from 16 into 12", {{L, 16}}, 12, L, 0, 1},
        {"O steps from 16 into 15", {{O, 16}}, 15, O, 0, 1},
        {"O pushes M14 N15 O16 into 13", {{M, 14}, {N, 15}, {O, 16}}, 13, O, 1, 1},
        {"O pushes N15 O16 into 14", {{N, 15}, {O, 16}}, 14, O, 2, 1},
        {"L steps from 16 into 12 with N and O changed round", {{L, 16}, {N, 15}, {O, 14}}, 12, L, 0, 2},
        {"N steps from 16 into 15", {{N, 16}, {O, 14}}, 15, N, 0, 2},
        {"N pushes O15 N16 into 14", {{O, 15}, {N, 16}}, 14, N, 5, 2},
    };
    for (const Ending &ending : endings) {
        SCOPED_TRACE(ending.name);
        resetGame();
        gameRunning = 1;
        movenumber = 30;
        layOut(ending.placed, ending.empty);
        ASSERT_TRUE(boardAgrees());

        const Click click = clickTile(ending.tile);

        EXPECT_EQ(click, ending.quickCode != 0 ? Click::Quick : Click::Step);
        EXPECT_EQ(QuikMove, ending.quickCode);
        EXPECT_EQ(gameWon, ending.result);
        EXPECT_EQ(gameRunning, 0);
        EXPECT_EQ(resultShown(), ending.result == 1 ? "Solved" : "Unsolvable");
        EXPECT_EQ(playedSounds, std::vector<int>{ending.result == 1 ? 4 : 5});
        EXPECT_EQ(movenumber, 31);
        EXPECT_EQ(gameCount, "31");
        EXPECT_TRUE(boardAgrees());
        EXPECT_EQ(emptyOnBoard(), 16);
        for (int tile = 1; tile <= 13; ++tile)
            EXPECT_EQ(tileSlot[tile], tile);
    }
}

// A quick move of L counts without the solved test; it can never finish the board,
// since it leaves slot 16 as it was.
TEST_F(SolvedTest, QuickMovesOfLAreCountedDirectly)
{
    layOut({{11, 10}, {L, 11}}, 9); // K10 L11, slot 9 empty
    EXPECT_EQ(clickTile(L), Click::Quick);
    EXPECT_EQ(QuikMove, 3);
    EXPECT_EQ(movenumber, 1);
    EXPECT_EQ(gameCount, "1");
    EXPECT_EQ(gameRunning, 1);
    EXPECT_TRUE(playedSounds.empty());
}

} // namespace
