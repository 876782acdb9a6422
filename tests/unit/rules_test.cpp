// The rules as the window drives them: lay out a board, click a tile (ID_BUT, checkMove), deal
// (fillboard), tick the clock (clocktick). The end-to-end game test plays games to their ends
// and runs the clock to its hour.
// Boards are written as sixteen letters, slot a first: the tile there, '@' for the empty slot.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "board.h"
#include "clock.h"
#include "solver.h"
#include "sounds.h"

// The sounds the rules start: the end-to-end game test hears them.
void playwav4()
{
}
void playwav5()
{
}

namespace {

int row(int slot)
{
    return (slot - 1) / 4;
}
int column(int slot)
{
    return (slot - 1) % 4;
}
char letter(int tile)
{
    return static_cast<char>('@' + tile);
}

void layOut(const std::string &letters)
{
    for (int slot = 1; slot <= 16; ++slot) {
        board[slot] = letters[slot - 1] - '@';
        tileSlot[board[slot]] = slot;
    }
}

// The board as letters.
std::string shown()
{
    std::string letters;
    for (int slot = 1; slot <= 16; ++slot)
        letters += letter(board.at(slot));
    return letters;
}

// How many tiles a click on tile pushes: the clicked tile and the one or two between it and
// the empty slot, all in its home row and in picture order; N (14) also pushes O N and O M N.
int pushed(int tile, int empty)
{
    const int from = tileSlot[tile];
    const int way = empty > from ? 1 : -1;
    const int count = std::abs(empty - from);
    if (tile == 14 && shown().substr(empty - 1) == (empty == 14 ? "@ON" : "@OMN"))
        return count;
    bool run = row(from) == row(empty) && row(from) == row(tile) && (count == 2 || count == 3);
    for (int i = 1; i < count && run; ++i)
        run = board[from + way * i] == tile + way * i && row(tile + way * i) == row(tile);
    return run ? count : 0;
}

// Every tile from every slot towards every other slot left empty, the tiles between in picture
// order, as O M N, reversed, or as they were: the click pushes the run the rule names, steps
// into a neighbouring empty slot, or changes nothing.
TEST(Move, EveryClickFollowsTheRule)
{
    const int between[][2] = {{1, 2}, {1, -1}, {-1, -2}, {0, 0}};
    for (int tile = 1; tile <= 15; ++tile)
        for (int from = 1; from <= 16; ++from)
            for (int empty = from % 16 + 1; empty != from; empty = empty % 16 + 1)
                for (const auto &order : between) {
                    const int way = empty > from ? 1 : -1;
                    std::string before = "ABCDEFGHIJKLMNO@";
                    std::swap(before[15], before[empty - 1]);
                    std::swap(before[before.find(letter(tile))], before[from - 1]);
                    for (int i = 1; i <= 2 && i < std::abs(empty - from) && row(from) == row(empty); ++i)
                        if (const int other = tile + way * order[i - 1]; other != tile && other >= 1 && other <= 15)
                            std::swap(before[before.find(letter(other))], before[from + way * i - 1]);
                    layOut(before);
                    SCOPED_TRACE(before);
                    std::string after = before;
                    const int run = pushed(tile, empty);
                    const bool step = std::abs(row(from) - row(empty)) + std::abs(column(from) - column(empty)) == 1;
                    for (int i = step ? 1 : run; i > 0; --i) // the empty slot travels back to the clicked tile's
                        std::swap(after[step ? empty - 1 : from + way * i - 1], after[from + way * (i - 1) - 1]);
                    ID_BUT = tile;
                    checkMove();
                    ASSERT_EQ(shown(), after);
                    ASSERT_TRUE(validMove == (run > 0 || step ? 1 : 0) && (QuikMove != 0) == (run > 0));
                    if (run == 0)
                        continue;
                    const QuickMove *move = findQuickMove(tile, QuikMove);
                    ASSERT_TRUE(move != nullptr && move->count == run);
                    int buttons[3]; // the window moves the buttons from the empty slot's end
                    for (int i = 0; i < quickMoveOrder(*move, buttons); ++i)
                        ASSERT_EQ(tileSlot[buttons[i]], empty - way * i);
                }
}

std::vector<unsigned> seeds;

// Deal after deal in one run: A..O over slots 1..15 and slot 16 empty, every tile on every
// slot some time, odd and even deals about as often, and the generator seeded from the clock
// once, on the first deal. (Where the tiles then stand, the end-to-end game test reads.)
TEST(Shuffle, DealsEveryArrangementFairly)
{
    randomSeed = [](unsigned seed) { std::srand(seeds.emplace_back(seed)); };
    clockSeconds = [](std::time_t * /*unused*/) -> std::time_t { return 1765108800; };
    int odd = 0;
    std::set<int> landed; // tile * 16 + slot
    for (int deal = 0; deal < 3000; ++deal) {
        fillboard();
        std::string dealt = shown();
        std::sort(dealt.begin(), dealt.end() - 1);
        ASSERT_EQ(dealt, "ABCDEFGHIJKLMNO@") << shown();
        for (int tile = 1; tile <= 15; ++tile)
            landed.insert(tile * 16 + tileSlot[tile]);
        odd += isEvenDeal(tileSlot) ? 0 : 1;
    }
    EXPECT_EQ(landed.size(), 15U * 15U);
    EXPECT_TRUE(odd > 1350 && odd < 1650) << odd;
    EXPECT_EQ(seeds, std::vector<unsigned>{1765108800});
}

// The clock's text as a game's seconds pass, from 0:00 (nothing else here ticks the clock).
TEST(Clock, ShowsMinutesAndSeconds)
{
    halttick = 0;
    std::string shownTimes;
    for (int tick = 1; tick <= 762; ++tick) {
        clocktick();
        if (tick == 7 || tick == 762)
            shownTimes += tempcount + " ";
    }
    EXPECT_EQ(shownTimes, "0:07 12:42 ");
}

} // namespace
