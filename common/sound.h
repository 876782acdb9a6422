// Starting a WAVE resource of the running program.
#ifndef COMMON_SOUND_H
#define COMMON_SOUND_H

// Plays the program's own WAVE resource resourceId in the background and returns at once.
// A new sound cuts off the one still playing; a missing resource or device is silent.
void playResourceWave(int resourceId);

#endif
