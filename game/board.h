// The rules of Snowquill, free of any window: the board model, the shuffle, the move
// rule and the solved test. The window procedure sets the inputs in these globals, calls
// a routine and reads the outcome from them; the routines take no arguments.
//
// Tiles A to O are numbered 1 to 15; slots a to p are numbered 1 to 16 row by row.
// Tile n's home slot is slot n; the empty slot of a solved board is slot 16.
#ifndef SNOWQUILL_BOARD_H
#define SNOWQUILL_BOARD_H

#include <ctime>
#include <string>
#include <vector>

#include "inttostring.h"

const int TILE_COUNT = 15;
const int SLOT_COUNT = 16;
const int EMPTY_HOME = 16; // the slot a new game leaves empty
const int TILE_SIZE = 48;  // a tile button is 48 x 48 pixels
const int SLOT_PITCH = 50; // slots are 50 pixels apart, leaving a 2-pixel gap
const int BOARD_LEFT = 50; // client position of slot a
const int BOARD_TOP = 75;

// Game results that checkWin leaves in gameWon.
const int RESULT_NONE = 0;
const int RESULT_SOLVED = 1;
const int RESULT_UNSOLVABLE = 2;

extern int size;               // number of slots
extern std::vector<int> board; // occupancy by slot: 0 = empty; index 0 is no slot

// Slot number (1 to 16) of each tile, by tile number; entry 0 is unused.
extern int tileSlot[TILE_COUNT + 1];

// Placement table: where each tile's button is placed, by tile number, plus the pair of
// slot p at index 16. After a single-step move, tile A's pair holds the destination of
// whichever tile moved.
extern int tileX[SLOT_COUNT + 1];
extern int tileY[SLOT_COUNT + 1];
extern int &posah, &posaz;

extern int ID_BUT;      // the tile just clicked, 1 to 15; checkMove sets it back to 0
extern int validMove;   // 1 when checkMove moved anything
extern int QuikMove;    // the clicked tile's quick-move code, 0 for none
extern int movenumber;  // moves made in the current game
extern int gameRunning; // 1 while a game is in progress
extern int gameWon;     // RESULT_NONE, RESULT_SOLVED or RESULT_UNSOLVABLE
extern int scramble;    // shuffles made since the program started
extern int seedone;     // tiles placed so far by the running shuffle
// gameCount, the decimal text of the move count, is declared with IntToString.

// Pixel position of each slot's tile button, by slot number (index 0 unused).
extern const int slotX[SLOT_COUNT + 1];
extern const int slotY[SLOT_COUNT + 1];

// One arrangement in which a click pushes two or three tiles of the clicked tile's home
// row one slot towards the empty slot.
struct QuickMove {
    int tile;     // the clicked tile
    int code;     // reported in QuikMove
    int empty;    // the empty slot it needs
    int count;    // tiles in the run, 2 or 3
    int tiles[3]; // the run's tiles, read from left to right
    int slots[3]; // where they stand before the push
};
extern const QuickMove quickMoves[];
extern const int quickMoveCount;

// The entry of tile with code, or nullptr when the tile has no such quick move.
const QuickMove *findQuickMove(int tile, int code);
// Which way a quick move pushes its run: +1 to the right, -1 to the left.
int quickMoveDirection(const QuickMove &move);
// The run's tiles in the order their buttons are moved: the one next to the empty slot
// first, the clicked tile last. Returns how many were written (2 or 3).
int quickMoveOrder(const QuickMove &move, int order[3]);

// The pseudo-random generator and its seed, replaceable so that tests can watch them.
extern int (*randomDraw)();
extern void (*randomSeed)(unsigned int);
extern std::time_t (*clockSeconds)(std::time_t *);

// The ways a tile can slide into the empty slot, as the arrow keys name them: the tile that
// slides down stands above the empty slot, the one that slides left stands right of it.
enum Slide { SLIDE_DOWN, SLIDE_UP, SLIDE_RIGHT, SLIDE_LEFT, SLIDE_WAYS };

// The tile beside the empty slot that would slide into it the way given; 0 where the board
// ends on that side.
int tileToSlide(int way);

void setarray();  // the solved occupancy: slots 1 to 15 taken, 16 empty
void fillboard(); // deals tiles A to O at random over slots 1 to 15
void checkMove(); // carries out a click on tile ID_BUT, if the rules allow it
void checkWin();  // counts a move and ends the game on the solved or unsolvable board

#endif
