// Helpers for the game's end-to-end tests: starting snowquill.exe in a fresh folder,
// finding its controls, reading the board from the tile windows, and checking sounds.
#ifndef E2E_GAME_SUPPORT_H
#define E2E_GAME_SUPPORT_H

#include "driver.h"
#include "resource.h"

#include <string>
#include <vector>

namespace game {

const int TILES = 15;
const int SLOTS = 16;
const int SOUND_FLAGS = 0x40005; // SND_RESOURCE | SND_ASYNC

struct Game {
    e2e::Program program;
    HWND window = NULL;
    HWND tile[TILES + 1] = {}; // tile[1] = A ... tile[15] = O
    HWND newGame = NULL, loadBmp = NULL, cancel = NULL, preview = NULL;
    HWND minimise = NULL, help = NULL, close = NULL;
    HWND clock = NULL, moves = NULL, result = NULL;
};

inline int tileId(int tile) { return 100 * (tile + 4); }
inline char tileLetter(int tile) { return static_cast<char>('A' + tile - 1); }
// Top-left corner of slot 1..16 in the window's client coordinates.
POINT slotCorner(int slot);

// Copies the game (--game) into <work>\<folderName> (made fresh unless keepFolder) and
// starts it; ends the test when it shows no window.
void launch(Game &game, const std::string &folderName, const e2e::StartOptions &options = e2e::StartOptions(),
            bool keepFolder = false);
// Clicks the close button and checks that the program exits with code 0.
void closeAndCheckExit(Game &game);

// Each tile's slot (1..16) as its window stands; 0 for a tile that is not exactly on a
// slot's place. Index 0 unused.
void readSlots(const Game &game, int slots[TILES + 1]);
// The one slot no tile stands on, or 0 when that is not exactly one slot.
int emptySlot(const int slots[TILES + 1]);
std::string describeSlots(const int slots[TILES + 1]);

// The clock's text after the given number of seconds: "0:07", "12:42", "1:00".
std::string clockText(int seconds);
// The seconds a clock text stands for, or -1 for a text that is not a well-formed time.
int clockSeconds(const std::string &text);

// Checks that exactly these sounds were played since the last look, in this order, each
// from the game's own resources with SND_RESOURCE | SND_ASYNC.
bool expectSounds(Game &game, const std::vector<int> &ids, const std::string &what);

// The current texts of the three fields.
std::string clockField(const Game &game);
std::string movesField(const Game &game);
std::string resultField(const Game &game);

// Pixels a tile (or any control) shows on the screen.
e2e::Image view(HWND control);
// The piece of a picture that a tile shows, scaled to the tile's 48 x 48 as the platform's
// plain stretch does it, approximately (nearest pixel).
e2e::Image expectedPiece(const e2e::Image &picture, int tile);
// Source corner of a tile's piece in a picture of this size.
POINT pieceCorner(int width, int height, int tile);

// A picture with a distinct colour for each of its blocks of blockSize pixels, so that
// any two pieces of it differ. 24-bit.
e2e::Image blockPicture(int width, int height, int blockSize, int seed);

} // namespace game

#endif
