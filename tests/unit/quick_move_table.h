// The quick moves as the game's rules list them, written out here in the rules' own
// words and parsed by the tests, so that the expectations do not come from the game's
// table of runs and directions.
#ifndef TESTS_QUICK_MOVE_TABLE_H
#define TESTS_QUICK_MOVE_TABLE_H

#include <string>
#include <utility>
#include <vector>

struct ListedQuickMove {
    std::string text;                        // the row as written, for messages
    int tile = 0;                            // the clicked tile
    int code = 0;                            // what QuikMove reports
    std::vector<std::pair<int, int>> before; // (tile, slot) from left to right
    int empty = 0;                           // the empty slot before the click
    std::vector<std::pair<int, int>> after;  // (tile, slot) from left to right
    int push = 0;                            // +1 right, -1 left
    int tiles = 0;                           // how many tiles it pushes
};

// The sixty quick moves: "clicked tile and code | before | empty slot | after | push".
const std::vector<ListedQuickMove> &listedQuickMoves();

// The quick move of tile with code from the list, nullptr when there is none.
const ListedQuickMove *listedQuickMove(int tile, int code);

// The first listed quick move of the clicked tile that applies to the position given by
// the slots of tiles A..O (index 0 unused) and the empty slot, nullptr when none.
const ListedQuickMove *listedQuickMoveFor(int tile, const int slots[16], int empty);

// The windows the game moves for a tile's quick move, in order: "C to d, B to c, A to b"
// read as (tile, slot) pairs. Empty where the tile has no quick move of that code.
std::vector<std::pair<int, int>> listedWindowMoves(int tile, int code);

#endif
