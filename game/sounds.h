// The game's nine sound routines. Each starts one WAVE resource and returns at once.
// The game links the real ones (sounds.cpp); the unit tests link a recorder instead.
#ifndef SNOWQUILL_SOUNDS_H
#define SNOWQUILL_SOUNDS_H

void playwav1(); // a quiet click: Load .Bmp opens its dialog, help is asked for
void playwav2(); // a blip: minimise
void playwav3(); // a tile moves
void playwav4(); // the picture is whole: "Solved"
void playwav5(); // "Unsolvable", or "Time's up!"
void playwav6(); // a request is refused
void playwav7(); // Load .Bmp during a game
void playwav8(); // a tile moves while the picture is silverbells.bmp
void playwav9(); // New Game starts, Cancel ends a game

#endif
