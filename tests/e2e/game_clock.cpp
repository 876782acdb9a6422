// The game clock, driven by timer messages sent from here: its texts from 0:01 to 59:59,
// the one-hour limit with "Time's up!", and the clock standing still after an end.
// The game's own one-second timer ticks meanwhile: each reading is compared with the one
// before it, and a step of two seconds is put down to that timer.
#include "game_support.h"

#include <algorithm>
#include <cstdio>
#include <set>

using namespace e2e;
using namespace game;

namespace {

// Sends ticks until the clock shows `target` seconds, checking every text on the way.
// Returns the checkpoints seen.
std::set<int> tickTo(Game &game, int target, const std::set<int> &checkpoints)
{
    std::set<int> seen;
    int value = clockSeconds(clockField(game));
    if (!check(value >= 0, "the time field reads as a time: \"" + clockField(game) + "\""))
        return seen;
    int ownTicks = 0;
    const DWORD started = now();
    while (value < target) {
        if (!sendTimer(game.window, ID_TIMER))
            fatal("a timer message was not answered");
        const std::string shown = clockField(game);
        const int next = clockSeconds(shown);
        context("tick after " + clockText(value));
        if (!check(next >= 0 && clockText(next) == shown,
                   "the time field reads as minutes, a colon and two-digit seconds: \"" + shown + "\""))
            return seen;
        if (next == value + 2) {
            ++ownTicks; // the game's own timer ticked in between
        } else if (!check(next == value + 1, "one tick adds one second: " + clockText(value) + " became " + shown)) {
            return seen;
        }
        if (checkpoints.count(next))
            seen.insert(next);
        value = next;
    }
    context("");
    const int elapsedSeconds = static_cast<int>((now() - started) / 1000);
    check(ownTicks <= elapsedSeconds + 1, "no tick counts twice (" + std::to_string(ownTicks) + " extra seconds in " +
                                              std::to_string(elapsedSeconds) + " s)");
    return seen;
}

void checkClockTexts(Game &game)
{
    group("the clock counts timer ticks");
    click(game.newGame);
    expectSounds(game, {IDW_NEWGAME}, "New Game");
    checkText(clockField(game), "0:00", "time field after New Game");
    const std::set<int> checkpoints = {1, 9, 10, 60, 61, 600, 3599};
    const std::set<int> seen = tickTo(game, 3599, checkpoints);
    for (int checkpoint : checkpoints)
        if (!seen.count(checkpoint))
            std::printf("  note: %s was skipped by the game's own timer; not looked at this time\n",
                        clockText(checkpoint).c_str());
    checkText(clockField(game), "59:59", "time field after 3,599 seconds");
    checkText(resultField(game), " ", "no result before the hour is full");
    expectSounds(game, {}, "ticks of the first hour");

    group("the 3,600th tick ends the game");
    sendTimer(game.window, ID_TIMER);
    checkText(resultField(game), "Time's up!", "result field");
    checkText(clockField(game), "59:59", "time field keeps 59:59");
    expectSounds(game, {IDW_LOST}, "the time limit");
    const bool stood = holds([&]() { return clockField(game) == "59:59" && resultField(game) == "Time's up!"; }, 1500);
    check(stood, "the clock stands still after the time limit: now " + clockField(game) + ", " + resultField(game));
    int before[TILES + 1];
    int after[TILES + 1];
    readSlots(game, before);
    for (int tile = 1; tile <= TILES; ++tile)
        click(game.tile[tile]);
    readSlots(game, after);
    check(std::equal(before, before + TILES + 1, after), "tiles do not move after the time limit");
    checkText(movesField(game), "0", "moves field after clicks on the ended game");
    expectSounds(game, {}, "tile clicks after the time limit");

    group("New Game after the time limit");
    click(game.newGame);
    expectSounds(game, {IDW_NEWGAME}, "New Game");
    checkText(clockField(game), "0:00", "time field");
    checkText(resultField(game), " ", "result field");
    sendTimer(game.window, ID_TIMER);
    const std::string first = clockField(game);
    check(first == "0:01" || first == "0:02", "the clock counts again from the start: " + first);
    click(game.cancel);
    expectSounds(game, {IDW_NEWGAME}, "Cancel");
}

void checkClockAfterCancel(Game &game)
{
    group("after Cancel the time field keeps its time");
    click(game.newGame);
    expectSounds(game, {IDW_NEWGAME}, "New Game");
    tickTo(game, 75, {});
    click(game.cancel);
    expectSounds(game, {IDW_NEWGAME}, "Cancel");
    checkText(resultField(game), "Canceled", "result field");
    const std::string stopped = clockField(game);
    check(clockSeconds(stopped) >= 75, "time field after Cancel: " + stopped);
    const bool stood = holds([&]() { return clockField(game) == stopped; }, 1500);
    check(stood, "the time field stays at " + stopped + " (then showed " + clockField(game) + ")");

    group("New Game restarts the clock at 0:00");
    click(game.newGame);
    expectSounds(game, {IDW_NEWGAME}, "New Game");
    checkText(clockField(game), "0:00", "time field");
    checkText(movesField(game), "0", "moves field");
    check(waitFor([&]() { return clockField(game) == "0:01"; }, 3000),
          "the game's own timer runs again: " + clockField(game));
    click(game.cancel);
    expectSounds(game, {IDW_NEWGAME}, "Cancel");
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "game clock");
    Game game;
    launch(game, "clock");
    checkClockTexts(game);
    checkClockAfterCancel(game);
    closeAndCheckExit(game);
    return finish();
}
