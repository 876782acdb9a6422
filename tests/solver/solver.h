// A quick player for Snowquill's board, for the tests: it finds a sequence of tile
// clicks that finishes a game. It knows the rules of the board on its own and uses
// nothing of the game's state, so that a driver can link it alone and play the real
// window with its answers. Standard C++ only.
#ifndef SNOWQUILL_TESTS_SOLVER_H
#define SNOWQUILL_TESTS_SOLVER_H

#include <vector>

// tileSlots[1..15]: slot (1..16) of tiles A..O; index 0 unused.

// True when the position can be brought to the whole picture: the permutation of the
// sixteen slots (the empty slot counted as a sixteenth tile) together with the empty
// slot's distance from slot 16 is even. False for an odd position, and for one that is
// no position at all (two tiles in one slot, a slot number out of 1..16).
bool isEvenDeal(const int tileSlots[16]);

// The tile clicks (tile numbers 1..15) that take the position to the solved board, or,
// for a position that can't be solved, to the unsolvable end position (A..M home, N in
// 15, O in 14, slot 16 empty). Empty when the position already is its end position, or
// is no position at all.
// useQuickMoves: when true, a run of single steps along a row is replaced by one click
// wherever a quick move of the game does the same.
// Not the shortest answer, but a fast one: the tiles are brought home a group at a time.
std::vector<int> solveClicks(const int tileSlots[16], bool useQuickMoves);

#endif
