// Stand-in for the game's sound routines in the unit tests: each call is recorded.
#ifndef TESTS_SOUND_RECORDER_H
#define TESTS_SOUND_RECORDER_H

#include <vector>

// Routine numbers (1 for playwav1 ... 9 for playwav9) in the order they were called.
extern std::vector<int> playedSounds;

#endif
