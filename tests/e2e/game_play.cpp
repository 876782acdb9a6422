// Whole games: New Game, the deal read from the tile windows, then the test player's
// clicks to the end, "Solved" for an even deal and "Unsolvable" for an odd one. Every
// click is checked: what moved, the move count, the sounds. Deals are played until both
// endings have been seen.
#include "game_support.h"
#include "solver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace e2e;
using namespace game;

namespace {

const int MIN_DEALS = 4;
const int MAX_DEALS = 14;

std::string tileName(int tile) { return std::string("tile ") + tileLetter(tile); }

// What a click did, judged from the tiles' places before and after: the clicked tile
// moved into the empty slot's direction, every moved tile went one slot along the same
// line, and the empty slot is now where the clicked tile stood.
bool checkMoveShape(const int before[TILES + 1], const int after[TILES + 1], int clicked, int &movedCount,
                    const std::string &what)
{
    const int emptyBefore = emptySlot(before);
    const int emptyAfter = emptySlot(after);
    if (!check(emptyAfter != 0, what + ": every tile stands on a slot of its own (" + describeSlots(after) + ")"))
        return false;
    if (!checkEqual(emptyAfter, before[clicked], what + ": the empty slot is where the clicked tile stood"))
        return false;
    movedCount = 0;
    const int rowBefore = (emptyBefore - 1) / 4;
    for (int tile = 1; tile <= TILES; ++tile) {
        if (after[tile] == before[tile])
            continue;
        ++movedCount;
        const int step = after[tile] - before[tile];
        const bool alongRow = (step == 1 || step == -1) && (before[tile] - 1) / 4 == (after[tile] - 1) / 4;
        const bool alongColumn = step == 4 || step == -4;
        if (!check(alongRow || alongColumn, what + ": " + tileName(tile) + " moved one slot (" +
                                                std::to_string(before[tile]) + " to " + std::to_string(after[tile]) +
                                                ")"))
            return false;
        // Every moved tile heads towards the slot that was empty.
        const int distanceBefore = std::abs(before[tile] - emptyBefore);
        const int distanceAfter = std::abs(after[tile] - emptyBefore);
        if (!check(distanceAfter < distanceBefore, what + ": " + tileName(tile) + " moved towards the empty slot"))
            return false;
    }
    if (!check(after[clicked] != before[clicked], what + ": the clicked tile moved"))
        return false;
    if (movedCount > 1) {
        // A push runs along the clicked tile's own picture row, which holds the empty slot.
        const int homeRow = (clicked - 1) / 4;
        check(movedCount <= 3, what + ": a push moves at most three tiles");
        check(rowBefore == homeRow, what + ": a push happens only in the clicked tile's own row");
        for (int tile = 1; tile <= TILES; ++tile)
            if (after[tile] != before[tile])
                check((before[tile] - 1) / 4 == rowBefore, what + ": " + tileName(tile) + " was pushed along the row");
    }
    return true;
}

struct Tally {
    int solved = 0;
    int unsolvable = 0;
    int pushes = 0;
    int pushedTiles = 0;
    bool clockStopChecked[2] = {false, false};
};

void playDeal(Game &game, int deal, Tally &tally)
{
    group("deal " + std::to_string(deal));
    context("New Game");
    if (!click(game.newGame))
        fatal("New Game was not answered");
    expectSounds(game, {IDW_NEWGAME}, "New Game");
    checkText(movesField(game), "0", "moves field after New Game");
    checkText(resultField(game), " ", "result field after New Game");
    const std::string clockAtStart = clockField(game);
    check(clockAtStart == "0:00" || clockAtStart == "0:01", "time field after New Game: " + clockAtStart);

    int slots[TILES + 1];
    readSlots(game, slots);
    const std::string deal_ = describeSlots(slots);
    if (!checkEqual(emptySlot(slots), 16, "slot 16 is the empty slot of the deal (" + deal_ + ")"))
        return;
    const bool even = isEvenDeal(slots);
    // Every other deal is played by single steps only, so that the endings are reached by
    // single steps as well as by pushes.
    const bool withPushes = deal % 2 == 1;
    const std::vector<int> clicks = solveClicks(slots, withPushes);
    std::printf("  deal %d: %s, %s, %zu clicks%s\n", deal, deal_.c_str(), even ? "even" : "odd", clicks.size(),
                withPushes ? ", with pushes" : ", single steps");
    if (clicks.empty()) {
        check(false, "the test player found no clicks for this deal");
        return;
    }

    for (size_t i = 0; i < clicks.size(); ++i) {
        const int tile = clicks[i];
        const bool last = i + 1 == clicks.size();
        const std::string what =
            "click " + std::to_string(i + 1) + " of " + std::to_string(clicks.size()) + " (" + tileName(tile) + ")";
        context("deal " + std::to_string(deal) + ", " + what + ", board " + describeSlots(slots));
        int before[TILES + 1];
        std::copy(slots, slots + TILES + 1, before);
        if (!click(game.tile[tile]))
            fatal(what + " was not answered");
        readSlots(game, slots);
        int moved = 0;
        if (!checkMoveShape(before, slots, tile, moved, what)) {
            newSounds(game.program);
            break;
        }
        if (moved > 1) {
            ++tally.pushes;
            tally.pushedTiles += moved;
        }
        if (!withPushes)
            check(moved == 1, what + ": a single step moves one tile");
        if (last)
            std::printf("  the last click, %s, moved %d tile%s\n", tileName(tile).c_str(), moved,
                        moved == 1 ? "" : "s");
        if (!checkText(movesField(game), std::to_string(i + 1), what + ": moves field counts the move once"))
            break;
        if (last) {
            expectSounds(game, {IDW_MOVE, even ? IDW_SOLVED : IDW_LOST}, what + ", the last");
        } else {
            if (!expectSounds(game, {IDW_MOVE}, what))
                break;
            if (!checkText(resultField(game), " ", what + ": the game goes on"))
                break;
        }
    }
    context("deal " + std::to_string(deal) + ", after its end");

    // The end position and its result.
    int expected[TILES + 1];
    for (int tile = 0; tile <= TILES; ++tile)
        expected[tile] = tile;
    if (!even) {
        expected[14] = 15;
        expected[15] = 14;
    }
    check(std::equal(slots, slots + TILES + 1, expected), std::string("the board ends ") +
                                                              (even ? "solved" : "in the unsolvable position") + ": " +
                                                              describeSlots(slots));
    checkText(resultField(game), even ? "Solved" : "Unsolvable", "result field at the end");
    if (even)
        ++tally.solved;
    else
        ++tally.unsolvable;
    const std::string moves = movesField(game);
    checkText(moves, std::to_string(clicks.size()), "moves field keeps the final count");

    // The clock has stopped (looked at once for each kind of ending, as it takes a while).
    if (!tally.clockStopChecked[even ? 0 : 1]) {
        tally.clockStopChecked[even ? 0 : 1] = true;
        const std::string stopped = clockField(game);
        const bool stood = holds([&]() { return clockField(game) == stopped; }, 1500);
        check(stood, "the time field stays at " + stopped + " after the end (then showed " + clockField(game) + ")");
    }

    // Tiles no longer move, and make no sound.
    int after[TILES + 1];
    for (int tile = 1; tile <= TILES; ++tile)
        click(game.tile[tile]);
    readSlots(game, after);
    check(std::equal(slots, slots + TILES + 1, after),
          "tiles stay put when clicked after the end: " + describeSlots(after));
    checkText(movesField(game), moves, "moves field after clicks on the ended game");
    expectSounds(game, {}, "clicks on tiles after the end");
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "whole games");
    Game game;
    launch(game, "games");
    Tally tally;
    int deal = 0;
    // Until both endings and some pushes have been seen.
    while (deal < MAX_DEALS && (deal < MIN_DEALS || tally.solved == 0 || tally.unsolvable == 0 || tally.pushes == 0)) {
        ++deal;
        const int failuresBefore = failureCount();
        playDeal(game, deal, tally);
        if (failureCount() > failuresBefore + 20)
            fatal("too many failures in one deal");
        if (resultField(game) == " ") {
            // The deal did not end (a failure was reported): end it so that New Game works.
            click(game.cancel);
            newSounds(game.program);
        }
    }
    group("over all deals");
    std::printf("  %d deals: %d solved, %d unsolvable; %d pushes moved %d tiles\n", deal, tally.solved,
                tally.unsolvable, tally.pushes, tally.pushedTiles);
    check(tally.solved > 0, "at least one deal ended \"Solved\"");
    check(tally.unsolvable > 0, "at least one deal ended \"Unsolvable\"");
    check(tally.pushes > 0, "quick moves (pushes of two or three tiles) happened");
    closeAndCheckExit(game);
    return finish();
}
