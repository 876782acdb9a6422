// Quick moves: a click pushes two or three tiles of the clicked tile's home row one slot
// towards the empty slot, in exactly the listed arrangements and no others.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "board.h"
#include "board_fixture.h"
#include "quick_move_table.h"

namespace {

// Sentinel values in the placement table: a quick move must leave all of them alone.
void markPlacementTable()
{
    for (int i = 1; i <= 16; ++i) {
        tileX[i] = 1000 + i;
        tileY[i] = 2000 + i;
    }
}

::testing::AssertionResult placementTableUntouched()
{
    for (int i = 1; i <= 16; ++i)
        if (tileX[i] != 1000 + i || tileY[i] != 2000 + i)
            return ::testing::AssertionFailure()
                   << "placement pair " << i << " became (" << tileX[i] << ", " << tileY[i] << ")";
    return ::testing::AssertionSuccess();
}

// Lays out the listed arrangement with the tiles it doesn't name placed from the lowest
// free slot up, or from the highest down.
void layOutBefore(const ListedQuickMove &move, bool highestFirst)
{
    if (!highestFirst) {
        layOut(move.before, move.empty);
        return;
    }
    int slots[16] = {0};
    bool taken[17] = {false};
    taken[move.empty] = true;
    for (const auto &tileAndSlot : move.before) {
        slots[tileAndSlot.first] = tileAndSlot.second;
        taken[tileAndSlot.second] = true;
    }
    int next = 16;
    for (int tile = 1; tile <= 15; ++tile) {
        if (slots[tile] != 0)
            continue;
        while (taken[next])
            --next;
        slots[tile] = next;
        taken[next] = true;
    }
    layOutSlots(slots);
}

TEST(QuickMoveTable, ListsSixtyMovesWithTheGapsInTheCodes)
{
    const auto &moves = listedQuickMoves();
    EXPECT_EQ(moves.size(), 60u);
    std::set<std::pair<int, int>> codes;
    for (const auto &move : moves) {
        EXPECT_TRUE(codes.insert({move.tile, move.code}).second) << move.text;
        EXPECT_EQ(move.before.size(), static_cast<std::size_t>(move.tiles)) << move.text;
        // The game's lookup knows every listed code, and no other code of the tile.
        const QuickMove *entry = findQuickMove(move.tile, move.code);
        ASSERT_NE(entry, nullptr) << move.text;
        EXPECT_EQ(entry->tile, move.tile);
        EXPECT_EQ(entry->code, move.code);
    }
    for (int tile = 1; tile <= 15; ++tile)
        for (int code = 0; code <= 8; ++code)
            if (listedQuickMove(tile, code) == nullptr) {
                EXPECT_EQ(findQuickMove(tile, code), nullptr) << tileLetter(tile) << " " << code;
            }
    EXPECT_EQ(quickMoveCount, 60);
}

// Every listed quick move, from a board that matches its Before column, whatever the
// other tiles do.
TEST(QuickMove, EveryListedMovePushesItsRun)
{
    for (const ListedQuickMove &move : listedQuickMoves()) {
        for (bool highestFirst : {false, true}) {
            SCOPED_TRACE(move.text + (highestFirst ? " (others from the top)" : " (others from the bottom)"));
            resetGame();
            layOutBefore(move, highestFirst);
            markPlacementTable();
            int before[16];
            for (int tile = 1; tile <= 15; ++tile)
                before[tile] = tileSlot[tile];
            const int left = tileSlot[move.tile];

            ID_BUT = move.tile;
            checkMove();

            EXPECT_EQ(QuikMove, move.code);
            EXPECT_EQ(validMove, 1);
            EXPECT_EQ(ID_BUT, 0);
            int expected[16];
            for (int tile = 1; tile <= 15; ++tile)
                expected[tile] = before[tile];
            for (const auto &tileAndSlot : move.after)
                expected[tileAndSlot.first] = tileAndSlot.second;
            for (int tile = 1; tile <= 15; ++tile)
                EXPECT_EQ(tileSlot[tile], expected[tile]) << "tile " << tileLetter(tile);
            // Each named tile went one slot the listed way.
            for (std::size_t i = 0; i < move.before.size(); ++i)
                EXPECT_EQ(move.after[i].second - move.before[i].second, move.push);
            EXPECT_TRUE(boardAgrees());
            EXPECT_EQ(emptyOnBoard(), left);
            EXPECT_NE(board[move.empty], 0);
            EXPECT_TRUE(placementTableUntouched());
            EXPECT_EQ(movenumber, 0);
            EXPECT_EQ(gameWon, 0);
        }
    }
}

// The window moves the buttons of a quick move in the game's order: the tile next to the
// empty slot first, the clicked tile last, each to its new slot.
TEST(QuickMove, WindowsMoveInTheListedOrder)
{
    std::set<std::pair<int, int>> withWindows;
    for (int tile = 1; tile <= 15; ++tile) {
        for (int code = 1; code <= 7; ++code) {
            const auto windows = listedWindowMoves(tile, code);
            const ListedQuickMove *move = listedQuickMove(tile, code);
            const QuickMove *entry = findQuickMove(tile, code);
            if (windows.empty()) {
                EXPECT_EQ(move, nullptr) << tileLetter(tile) << " " << code;
                EXPECT_EQ(entry, nullptr) << tileLetter(tile) << " " << code;
                continue;
            }
            SCOPED_TRACE(std::string(1, tileLetter(tile)) + " " + std::to_string(code));
            ASSERT_NE(move, nullptr);
            ASSERT_NE(entry, nullptr);
            withWindows.insert({tile, code});

            int order[3] = {0, 0, 0};
            const int count = quickMoveOrder(*entry, order);
            ASSERT_EQ(count, static_cast<int>(windows.size()));
            EXPECT_EQ(quickMoveDirection(*entry), move->push);

            resetGame();
            layOut(move->before, move->empty);
            int before[16];
            for (int t = 1; t <= 15; ++t)
                before[t] = tileSlot[t];
            ID_BUT = tile;
            checkMove();
            ASSERT_EQ(QuikMove, code);
            for (int i = 0; i < count; ++i) {
                EXPECT_EQ(order[i], windows[i].first) << "window " << i;
                EXPECT_EQ(tileSlot[order[i]], windows[i].second) << "window " << i;
            }
            EXPECT_EQ(order[count - 1], tile) << "the clicked tile moves last";
            EXPECT_EQ(tileSlot[order[0]], move->empty) << "the first window fills the empty slot";
            // The windows moved are exactly the tiles whose slots changed.
            std::set<int> changed, listed;
            for (int t = 1; t <= 15; ++t)
                if (tileSlot[t] != before[t])
                    changed.insert(t);
            for (const auto &window : windows)
                listed.insert(window.first);
            EXPECT_EQ(changed, listed);
        }
    }
    EXPECT_EQ(withWindows.size(), listedQuickMoves().size());
}

// Every arrangement of a clicked tile, the empty slot two or three slots away in one row
// or one column, and any tiles between: the click pushes exactly when a listed quick move
// applies, and nothing at all moves otherwise.
TEST(QuickMove, NoOtherArrangementPushes)
{
    int pushes = 0;
    int refusals = 0;
    for (int tile = 1; tile <= 15; ++tile) {
        for (int from = 1; from <= 16; ++from) {
            for (int empty = 1; empty <= 16; ++empty) {
                const bool sameRow = rowOfSlot(from) == rowOfSlot(empty);
                const bool sameColumn = columnOfSlot(from) == columnOfSlot(empty);
                const int apart = sameRow ? std::abs(columnOfSlot(from) - columnOfSlot(empty))
                                          : std::abs(rowOfSlot(from) - rowOfSlot(empty));
                if (!(sameRow || sameColumn) || apart < 2)
                    continue;
                const int stride = sameRow ? 1 : 4;
                const int way = empty > from ? stride : -stride;
                // The slots between, and every choice of tiles for them.
                std::vector<int> between;
                for (int slot = from + way; slot != empty; slot += way)
                    between.push_back(slot);
                std::vector<int> others;
                for (int t = 1; t <= 15; ++t)
                    if (t != tile)
                        others.push_back(t);
                std::vector<std::vector<int>> fillings;
                for (int first : others) {
                    if (between.size() == 1)
                        fillings.push_back({first});
                    else
                        for (int second : others)
                            if (second != first)
                                fillings.push_back({first, second});
                }
                for (const std::vector<int> &filling : fillings) {
                    std::vector<std::pair<int, int>> placed = {{tile, from}};
                    for (std::size_t i = 0; i < between.size(); ++i)
                        placed.push_back({filling[i], between[i]});
                    resetGame();
                    layOut(placed, empty);
                    int before[16];
                    for (int t = 1; t <= 15; ++t)
                        before[t] = tileSlot[t];
                    const std::vector<int> boardBefore = board;
                    const ListedQuickMove *listed = listedQuickMoveFor(tile, before, empty);

                    ID_BUT = tile;
                    checkMove();

                    if (listed != nullptr) {
                        ++pushes;
                        EXPECT_EQ(QuikMove, listed->code) << listed->text;
                        EXPECT_EQ(validMove, 1) << listed->text;
                        EXPECT_EQ(emptyOnBoard(), from) << listed->text;
                    } else {
                        ++refusals;
                        EXPECT_EQ(QuikMove, 0) << tileLetter(tile) << from << " empty " << empty;
                        EXPECT_EQ(validMove, 0) << tileLetter(tile) << from << " empty " << empty;
                        EXPECT_EQ(board, boardBefore);
                        for (int t = 1; t <= 15; ++t)
                            ASSERT_EQ(tileSlot[t], before[t]) << tileLetter(tile) << from << " empty " << empty;
                    }
                    EXPECT_EQ(ID_BUT, 0);
                }
            }
        }
    }
    // Each listed move turns up exactly once among these arrangements.
    EXPECT_EQ(pushes, 60);
    EXPECT_GT(refusals, 10000);
}

TEST(QuickMove, RunsNotInPictureOrderOrOutsideTheHomeRowDoNotPush)
{
    // B in 1, A in 2, slot 3 empty: B refused, A steps into 3.
    resetGame();
    layOut({{2, 1}, {1, 2}}, 3);
    EXPECT_EQ(clickTile(2), Click::Refused);
    EXPECT_EQ(tileSlot[2], 1);
    EXPECT_EQ(clickTile(1), Click::Step);
    EXPECT_EQ(tileSlot[1], 3);

    // A in 5, B in 6, slot 7 empty: the second row is not A's home row.
    resetGame();
    layOut({{1, 5}, {2, 6}}, 7);
    EXPECT_EQ(clickTile(1), Click::Refused);
    EXPECT_TRUE(boardAgrees());

    // A in 1, E in 5, slot 9 empty: no quick moves along columns.
    resetGame();
    layOut({{1, 1}, {5, 5}}, 9);
    EXPECT_EQ(clickTile(1), Click::Refused);
    EXPECT_EQ(tileSlot[1], 1);

    // A in 1, C in 2, slot 3 empty: A and C are not consecutive tiles.
    resetGame();
    layOut({{1, 1}, {3, 2}}, 3);
    EXPECT_EQ(clickTile(1), Click::Refused);

    // Pushing across the end of a row: D in 3, E in 4 (wrong row for E), slot 5 empty.
    resetGame();
    layOut({{4, 3}, {5, 4}}, 5);
    EXPECT_EQ(clickTile(4), Click::Refused);
}

TEST(QuickMove, PushOrSingleStepDependsOnTheTileClicked)
{
    // A in 1, B in 2, slot 3 empty: A pushes both (code 2), B steps alone.
    resetGame();
    layOut({{1, 1}, {2, 2}}, 3);
    EXPECT_EQ(clickTile(1), Click::Quick);
    EXPECT_EQ(QuikMove, 2);
    EXPECT_EQ(tileSlot[1], 2);
    EXPECT_EQ(tileSlot[2], 3);
    EXPECT_EQ(emptyOnBoard(), 1);
    resetGame();
    layOut({{1, 1}, {2, 2}}, 3);
    EXPECT_EQ(clickTile(2), Click::Step);
    EXPECT_EQ(tileSlot[1], 1);
    EXPECT_EQ(tileSlot[2], 3);

    // E in 5, F in 6, G in 7, slot 8 empty: E pushes three (code 1), F two (code 5),
    // G steps alone.
    const std::vector<std::pair<int, int>> row = {{5, 5}, {6, 6}, {7, 7}};
    resetGame();
    layOut(row, 8);
    EXPECT_EQ(clickTile(5), Click::Quick);
    EXPECT_EQ(QuikMove, 1);
    EXPECT_EQ(tileSlot[5], 6);
    EXPECT_EQ(tileSlot[6], 7);
    EXPECT_EQ(tileSlot[7], 8);
    resetGame();
    layOut(row, 8);
    EXPECT_EQ(clickTile(6), Click::Quick);
    EXPECT_EQ(QuikMove, 5);
    EXPECT_EQ(tileSlot[5], 5);
    EXPECT_EQ(tileSlot[6], 7);
    EXPECT_EQ(tileSlot[7], 8);
    resetGame();
    layOut(row, 8);
    EXPECT_EQ(clickTile(7), Click::Step);
    EXPECT_EQ(QuikMove, 0);
    EXPECT_EQ(tileSlot[7], 8);
    EXPECT_EQ(tileSlot[6], 6);
    // A quick move of three tiles counts as one move.
    resetGame();
    layOut(row, 8);
    clickTile(5);
    EXPECT_EQ(movenumber, 1);
    EXPECT_EQ(gameCount, "1");
}

TEST(QuickMove, NTwoAndFiveDifferOnlyInTheTileInSlotFifteen)
{
    resetGame();
    layOut({{13, 15}, {14, 16}}, 14); // M15 N16
    EXPECT_EQ(clickTile(14), Click::Quick);
    EXPECT_EQ(QuikMove, 2);
    EXPECT_EQ(tileSlot[13], 14);
    EXPECT_EQ(tileSlot[14], 15);

    resetGame();
    layOut({{15, 15}, {14, 16}}, 14); // O15 N16
    EXPECT_EQ(clickTile(14), Click::Quick);
    EXPECT_EQ(QuikMove, 5);
    EXPECT_EQ(tileSlot[15], 14);
    EXPECT_EQ(tileSlot[14], 15);

    // Any other tile in 15 makes it no quick move.
    resetGame();
    layOut({{12, 15}, {14, 16}}, 14);
    EXPECT_EQ(clickTile(14), Click::Refused);
}

} // namespace
