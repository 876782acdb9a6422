// The game clock: one call per timer tick, counting minutes and seconds of the current
// game and ending it when it reaches one hour. Free of any window, like the board rules.
#ifndef SNOWQUILL_CLOCK_H
#define SNOWQUILL_CLOCK_H

#include <string>

const int TICK_MILLISECONDS = 1000;
const int LAST_MINUTE = 59; // the game ends on the tick after 59:59
const int LAST_SECOND = 59;

extern int ticktock;          // seconds of the current minute
extern int mincount;          // whole minutes
extern int halttick;          // 1 while the clock is halted: before the first game and after time ran out
extern int timeUp;            // set by the tick that ends the game; the window shows "Time's up!" and clears it
extern std::string tempcount; // the clock text of the last tick, empty when nothing is to be shown

// Advances the clock by one second and leaves the new text ("0:07", "12:42", "1:00") in
// tempcount. At 59:59 it ends the game instead: the lost-game sound, gameRunning 0,
// halttick 1 and timeUp 1, and the time shown stays 59:59.
void clocktick();

#endif
