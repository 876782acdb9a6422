// Helpers for the board tests: lay out a position on the game's globals, check that the
// occupancy agrees with the tiles' slots, and click tiles the way the window does.
#ifndef TESTS_BOARD_FIXTURE_H
#define TESTS_BOARD_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// Slot geometry worked out here from rows and columns, not taken from the game.
int rowOfSlot(int slot);
int columnOfSlot(int slot);
int slotLeft(int slot); // x of the tile button in slot
int slotTop(int slot);  // y of the tile button in slot

// Letters of the tiles (A..O) and of the slots (a..p) to numbers, and back.
int tileNumber(char letter);
int slotNumber(char letter);
char tileLetter(int tile);

// Puts every tile home, the game's flags and counters to their start values, the
// sounds heard so far forgotten.
void resetGame();

// Lays out a position: the tiles in placed stand in the given slots, empty is the empty
// slot, and every other tile takes one of the remaining slots, lowest tile in the lowest
// slot. The occupancy is made to agree. The placement table is left alone.
void layOut(const std::vector<std::pair<int, int>> &placed, int empty);
// Lays out the position given by the slots of tiles A..O (index 0 unused).
void layOutSlots(const int slots[16]);

// Exactly one of board[1..16] is 0, it is the slot that no tile names, the tiles' slots
// are fifteen different slots in 1..16 and board[0] is 0.
::testing::AssertionResult boardAgrees();
// The empty slot as the occupancy tells it (0 when there is none).
int emptyOnBoard();

// What the window makes of one click on a tile while a game runs.
enum class Click { Refused, Step, Quick };
// Sets ID_BUT, calls checkMove and, for an accepted move, counts it as the window does:
// through checkWin after a single step of L and every move of N or O, otherwise by
// adding one to movenumber. validMove is put back to 0 after a quick move. The quick
// move's code is left in QuikMove.
Click clickTile(int tile);

#endif
