#include "sound_recorder.h"

#include "sounds.h"

std::vector<int> playedSounds;

void playwav1() { playedSounds.push_back(1); }
void playwav2() { playedSounds.push_back(2); }
void playwav3() { playedSounds.push_back(3); }
void playwav4() { playedSounds.push_back(4); }
void playwav5() { playedSounds.push_back(5); }
void playwav6() { playedSounds.push_back(6); }
void playwav7() { playedSounds.push_back(7); }
void playwav8() { playedSounds.push_back(8); }
void playwav9() { playedSounds.push_back(9); }
