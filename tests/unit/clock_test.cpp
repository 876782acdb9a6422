#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "board.h"
#include "clock.h"
#include "sound_recorder.h"

namespace {

// The clock as New Game leaves it: counting from zero, a game running.
void startClock()
{
    ticktock = 0;
    mincount = 0;
    halttick = 0;
    timeUp = 0;
    gameRunning = 1;
    playedSounds.clear();
}

std::string expectedText(int secondsSinceStart)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%d:%02d", secondsSinceStart / 60, secondsSinceStart % 60);
    return text;
}

} // namespace

TEST(Clock, EveryTickOfTheHourShowsMinutesAndTwoDigitSeconds)
{
    startClock();
    for (int second = 1; second <= 3599; ++second) {
        clocktick();
        ASSERT_EQ(tempcount, expectedText(second)) << "tick " << second;
        ASSERT_EQ(gameRunning, 1);
        ASSERT_EQ(timeUp, 0);
    }
    EXPECT_TRUE(playedSounds.empty());
}

TEST(Clock, NamedMomentsReadAsAPlayerExpects)
{
    startClock();
    std::string shown[3600];
    for (int second = 1; second <= 3599; ++second) {
        clocktick();
        shown[second] = tempcount;
    }
    EXPECT_EQ(shown[1], "0:01");
    EXPECT_EQ(shown[9], "0:09");
    EXPECT_EQ(shown[10], "0:10");
    EXPECT_EQ(shown[60], "1:00");
    EXPECT_EQ(shown[61], "1:01");
    EXPECT_EQ(shown[425], "7:05");
    EXPECT_EQ(shown[600], "10:00");
    EXPECT_EQ(shown[3599], "59:59");
}

TEST(Clock, TheHourEndsTheGameAndTheClockStaysHalted)
{
    startClock();
    for (int second = 1; second <= 3599; ++second)
        clocktick();
    clocktick(); // the 3,600th tick
    EXPECT_EQ(timeUp, 1);
    EXPECT_EQ(halttick, 1);
    EXPECT_EQ(gameRunning, 0);
    EXPECT_TRUE(tempcount.empty()) << "the field keeps 59:59";
    EXPECT_EQ(playedSounds, std::vector<int>({5}));
    EXPECT_EQ(mincount, 59);
    EXPECT_EQ(ticktock, 59);
}

TEST(Clock, AHaltedClockShowsNothing)
{
    startClock();
    halttick = 1; // before the first game
    for (int i = 0; i < 5; ++i)
        clocktick();
    EXPECT_TRUE(tempcount.empty());
    EXPECT_EQ(ticktock, 0);
    EXPECT_EQ(mincount, 0);
    EXPECT_EQ(timeUp, 0);
    EXPECT_EQ(gameRunning, 1);
    EXPECT_TRUE(playedSounds.empty());
}

TEST(Clock, NewGameAfterTimeUpCountsFromTheStartAgain)
{
    startClock();
    for (int second = 1; second <= 3600; ++second)
        clocktick();
    ASSERT_EQ(timeUp, 1);
    startClock(); // New Game resets the counters
    clocktick();
    EXPECT_EQ(tempcount, "0:01");
    EXPECT_EQ(timeUp, 0);
}
