// A quick player for the tests: the tile clicks that take a board to a given arrangement.
// Standard C++ only, so that the end-to-end driver can link it as well as the unit tests.
#ifndef SNOWQUILL_TESTS_SOLVER_H
#define SNOWQUILL_TESTS_SOLVER_H

#include <vector>

// slots[1..15]: the slot (1..16) of tiles A..O; entry 0 is unused.
// True when the arrangement can be brought to the whole picture (A..O home, slot 16 empty);
// false when it can only reach the unsolvable end (N in slot 15, O in 14).
bool isEvenDeal(const int slots[16]);

// Single-step clicks (tile numbers) that take the board from slots to target (the slots of
// the arrangement wanted, indexed the same way), which must have the same parity, never
// passing through a board on which the game would end (A to M home, slot 16 empty). A weighted
// best-first search: quick (a dealt board takes some 75 clicks and a few hundredths of a
// second), not the shortest. Empty when the board already is the target, or when the search
// gives up after two million boards (a target of the other parity).
std::vector<int> solveClicks(const int slots[16], const int target[16]);

#endif
