#include "clock.h"

#include <sstream>

#include "board.h"
#include "sounds.h"

int ticktock = 0;
int mincount = 0;
int halttick = 1;
int timeUp = 0;
std::string tempcount;

void clocktick()
{
    tempcount.clear();
    if (mincount == LAST_MINUTE && ticktock == LAST_SECOND) {
        halttick = 1;
        playwav5();
        gameRunning = 0;
        timeUp = 1;
    }
    if (halttick != 0)
        return;

    ++ticktock;
    if (ticktock == 60) {
        ++mincount;
        ticktock = 0;
    }
    // Minutes without padding, seconds always with two digits.
    std::ostringstream text;
    text << mincount << (ticktock < 10 ? ":0" : ":") << ticktock;
    tempcount = text.str();
}
