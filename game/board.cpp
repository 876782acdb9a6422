#include "board.h"

#include <cstdlib>

#include "inttostring.h"
#include "sounds.h"

int size = 16;
std::vector<int> board(size + 1);

int tileSlot[TILE_COUNT + 1] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

// Slot position rule: x = 50 + 50 * column, y = 75 + 50 * row.
const int slotX[SLOT_COUNT + 1] = {0, 50, 100, 150, 200, 50, 100, 150, 200, 50, 100, 150, 200, 50, 100, 150, 200};
const int slotY[SLOT_COUNT + 1] = {0, 75, 75, 75, 75, 125, 125, 125, 125, 175, 175, 175, 175, 225, 225, 225, 225};

// Every tile starts in its home slot; index 16 is slot p.
int tileX[SLOT_COUNT + 1] = {0, 50, 100, 150, 200, 50, 100, 150, 200, 50, 100, 150, 200, 50, 100, 150, 200};
int tileY[SLOT_COUNT + 1] = {0, 75, 75, 75, 75, 125, 125, 125, 125, 175, 175, 175, 175, 225, 225, 225, 225};
int &posah = tileX[1], &posaz = tileY[1];

int ID_BUT = 0;
int validMove = 0;
int QuikMove = 0;
int movenumber = 0;
int gameRunning = 0;
int gameWon = RESULT_NONE;
int scramble = 0;
int seedone = 0;
std::string gameCount;

int (*randomDraw)() = std::rand;
void (*randomSeed)(unsigned int) = std::srand;
std::time_t (*clockSeconds)(std::time_t *) = std::time;

namespace {

enum Tile { A = 1, B, C, D, E, F, G, H, I, J, K, L, M, N, O };

// Slots next to each slot: up, down, left, right (0 where the board ends), in the order of
// Slide: the tile above the empty slot is the one that slides down.
// No wrap-around: slot 4 and slot 5 are not neighbours.
const int neighbours[SLOT_COUNT + 1][4] = {
    {0, 0, 0, 0},                                                     //
    {0, 5, 0, 2},   {0, 6, 1, 3},    {0, 7, 2, 4},    {0, 8, 3, 0},   // a b c d
    {1, 9, 0, 6},   {2, 10, 5, 7},   {3, 11, 6, 8},   {4, 12, 7, 0},  // e f g h
    {5, 13, 0, 10}, {6, 14, 9, 11},  {7, 15, 10, 12}, {8, 16, 11, 0}, // i j k l
    {9, 0, 0, 14},  {10, 0, 13, 15}, {11, 0, 14, 16}, {12, 0, 15, 0}, // m n o p
};

bool areNeighbours(int slot, int other)
{
    for (int next : neighbours[slot])
        if (next != 0 && next == other)
            return true;
    return false;
}

int emptySlot()
{
    for (int slot = 1; slot <= SLOT_COUNT; ++slot)
        if (board[slot] == 0)
            return slot;
    return 0;
}

bool quickMoveApplies(const QuickMove &move, int empty)
{
    if (move.empty != empty)
        return false;
    for (int i = 0; i < move.count; ++i)
        if (tileSlot[move.tiles[i]] != move.slots[i])
            return false;
    return true;
}

void pushRun(const QuickMove &move)
{
    const int step = quickMoveDirection(move);
    board[tileSlot[move.tile]] = 0;
    for (int i = 0; i < move.count; ++i) {
        const int tile = move.tiles[i];
        tileSlot[tile] += step;
        board[tileSlot[tile]] = tile;
    }
}

bool tilesStandAt(const int (&slots)[TILE_COUNT + 1])
{
    for (int tile = 1; tile <= TILE_COUNT; ++tile)
        if (tileSlot[tile] != slots[tile])
            return false;
    return true;
}

const int solvedSlots[TILE_COUNT + 1] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
// The one position an odd deal can reach instead: N and O changed round.
const int unsolvableSlots[TILE_COUNT + 1] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 14};

} // namespace

// Every arrangement in which a click pushes a run of its home row, with the codes the
// window procedure uses to move the buttons. Runs are written from left to right.
// Three rows of the table to a line, as laid out by hand.
// clang-format off
const QuickMove quickMoves[] = {
    {A, 1, 4, 3, {A, B, C}, {1, 2, 3}},     {A, 2, 3, 2, {A, B}, {1, 2}},          {A, 3, 4, 2, {A, B}, {2, 3}},
    {B, 1, 4, 3, {B, C, D}, {1, 2, 3}},     {B, 2, 3, 2, {B, C}, {1, 2}},          {B, 3, 1, 2, {A, B}, {2, 3}},
    {B, 4, 2, 2, {A, B}, {3, 4}},           {B, 5, 4, 2, {B, C}, {2, 3}},          {C, 1, 1, 3, {A, B, C}, {2, 3, 4}},
    {C, 2, 2, 2, {B, C}, {3, 4}},           {C, 3, 4, 2, {C, D}, {2, 3}},          {C, 6, 1, 2, {B, C}, {2, 3}},
    {C, 7, 3, 2, {C, D}, {1, 2}},           {D, 1, 1, 3, {B, C, D}, {2, 3, 4}},    {D, 2, 2, 2, {C, D}, {3, 4}},
    {D, 3, 1, 2, {C, D}, {2, 3}},           {E, 1, 8, 3, {E, F, G}, {5, 6, 7}},    {E, 2, 7, 2, {E, F}, {5, 6}},
    {E, 3, 8, 2, {E, F}, {6, 7}},           {F, 1, 8, 3, {F, G, H}, {5, 6, 7}},    {F, 2, 5, 2, {E, F}, {6, 7}},
    {F, 3, 6, 2, {E, F}, {7, 8}},           {F, 4, 7, 2, {F, G}, {5, 6}},          {F, 5, 8, 2, {F, G}, {6, 7}},
    {G, 1, 5, 3, {E, F, G}, {6, 7, 8}},     {G, 2, 6, 2, {F, G}, {7, 8}},          {G, 4, 8, 2, {G, H}, {6, 7}},
    {G, 5, 5, 2, {F, G}, {6, 7}},           {G, 6, 7, 2, {G, H}, {5, 6}},          {H, 1, 5, 3, {F, G, H}, {6, 7, 8}},
    {H, 2, 6, 2, {G, H}, {7, 8}},           {H, 3, 5, 2, {G, H}, {6, 7}},          {I, 1, 12, 3, {I, J, K}, {9, 10, 11}},
    {I, 2, 11, 2, {I, J}, {9, 10}},         {I, 3, 12, 2, {I, J}, {10, 11}},       {J, 1, 12, 3, {J, K, L}, {9, 10, 11}},
    {J, 2, 9, 2, {I, J}, {10, 11}},         {J, 3, 10, 2, {I, J}, {11, 12}},       {J, 4, 11, 2, {J, K}, {9, 10}},
    {J, 5, 12, 2, {J, K}, {10, 11}},        {K, 1, 9, 3, {I, J, K}, {10, 11, 12}}, {K, 2, 10, 2, {J, K}, {11, 12}},
    {K, 3, 11, 2, {K, L}, {9, 10}},         {K, 4, 12, 2, {K, L}, {10, 11}},       {K, 5, 9, 2, {J, K}, {10, 11}},
    {L, 1, 9, 3, {J, K, L}, {10, 11, 12}},  {L, 2, 10, 2, {K, L}, {11, 12}},       {L, 3, 9, 2, {K, L}, {10, 11}},
    {M, 1, 16, 3, {M, N, O}, {13, 14, 15}}, {M, 2, 15, 2, {M, N}, {13, 14}},       {M, 3, 16, 2, {M, N}, {14, 15}},
    {N, 1, 15, 2, {N, O}, {13, 14}},        {N, 2, 14, 2, {M, N}, {15, 16}},       {N, 3, 13, 2, {M, N}, {14, 15}},
    {N, 4, 16, 2, {N, O}, {14, 15}},
    // N's two runs out of picture order: the second leads to the unsolvable position.
    {N, 5, 14, 2, {O, N}, {15, 16}},        {N, 6, 13, 3, {O, M, N}, {14, 15, 16}},
    {O, 1, 13, 3, {M, N, O}, {14, 15, 16}}, {O, 2, 14, 2, {N, O}, {15, 16}},       {O, 3, 13, 2, {N, O}, {14, 15}},
};
// clang-format on
const int quickMoveCount = static_cast<int>(sizeof(quickMoves) / sizeof(quickMoves[0]));

const QuickMove *findQuickMove(int tile, int code)
{
    for (const QuickMove &move : quickMoves)
        if (move.tile == tile && move.code == code)
            return &move;
    return nullptr;
}

int quickMoveDirection(const QuickMove &move)
{
    return move.empty > move.slots[move.count - 1] ? 1 : -1;
}

int quickMoveOrder(const QuickMove &move, int order[3])
{
    const bool right = quickMoveDirection(move) > 0;
    for (int i = 0; i < move.count; ++i)
        order[i] = move.tiles[right ? move.count - 1 - i : i];
    return move.count;
}

int tileToSlide(int way)
{
    const int from = way >= 0 && way < SLIDE_WAYS ? neighbours[emptySlot()][way] : 0;
    return from != 0 ? board[from] : 0; // an occupied slot holds its tile's number
}

void setarray()
{
    for (int i = 0; i < SLOT_COUNT; ++i)
        board[i] = i;
    board[SLOT_COUNT] = 0;
}

void fillboard()
{
    board[EMPTY_HOME] = 0;
    if (scramble == 0)
        randomSeed(static_cast<unsigned int>(clockSeconds(nullptr)));
    ++scramble;

    for (int tile = 1; tile <= TILE_COUNT; ++tile) {
        int slot = 0;
        bool taken = true;
        while (taken) {
            slot = randomDraw() % TILE_COUNT + 1;
            taken = false;
            for (int earlier = 1; earlier <= seedone; ++earlier)
                if (tileSlot[earlier] == slot)
                    taken = true;
        }
        tileSlot[tile] = slot;
        board[slot] = tile;
        tileX[tile] = slotX[slot];
        tileY[tile] = slotY[slot];
        ++seedone;
    }
    seedone = 0;
}

void checkMove()
{
    validMove = 0;
    QuikMove = 0;
    const int tile = ID_BUT;
    if (tile >= 1 && tile <= TILE_COUNT) {
        const int from = tileSlot[tile];
        const int empty = emptySlot();
        const QuickMove *push = nullptr;
        for (const QuickMove &move : quickMoves)
            if (move.tile == tile && quickMoveApplies(move, empty))
                push = &move;

        if (push != nullptr) {
            pushRun(*push);
            QuikMove = push->code;
            validMove = 1;
        } else if (empty != 0 && areNeighbours(from, empty)) {
            tileSlot[tile] = empty;
            board[from] = 0;
            board[empty] = tile;
            validMove = 1;
            posah = slotX[empty];
            posaz = slotY[empty];
        }
    }
    ID_BUT = 0;
}

void checkWin()
{
    ++movenumber;
    if (tilesStandAt(solvedSlots)) {
        playwav4();
        gameRunning = 0;
        gameWon = RESULT_SOLVED;
    }
    if (tilesStandAt(unsolvableSlots)) {
        playwav5();
        gameRunning = 0;
        gameWon = RESULT_UNSOLVABLE;
    }
    IntToString(movenumber);
}
