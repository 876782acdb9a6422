#include "board_fixture.h"

#include "board.h"
#include "inttostring.h"
#include "sound_recorder.h"

int rowOfSlot(int slot) { return (slot - 1) / 4; }
int columnOfSlot(int slot) { return (slot - 1) % 4; }
int slotLeft(int slot) { return 50 + 50 * columnOfSlot(slot); }
int slotTop(int slot) { return 75 + 50 * rowOfSlot(slot); }

int tileNumber(char letter) { return letter - 'A' + 1; }
int slotNumber(char letter) { return letter - 'a' + 1; }
char tileLetter(int tile) { return static_cast<char>('A' + tile - 1); }

void resetGame()
{
    setarray();
    for (int tile = 1; tile <= 15; ++tile) {
        tileSlot[tile] = tile;
        tileX[tile] = slotLeft(tile);
        tileY[tile] = slotTop(tile);
    }
    tileX[16] = slotLeft(16); // slot p's pair
    tileY[16] = slotTop(16);
    ID_BUT = 0;
    validMove = 0;
    QuikMove = 0;
    movenumber = 0;
    gameRunning = 0;
    gameWon = 0;
    seedone = 0;
    gameCount.clear();
    playedSounds.clear();
}

void layOut(const std::vector<std::pair<int, int>> &placed, int empty)
{
    int slots[16] = {0};
    bool taken[17] = {false};
    taken[empty] = true;
    for (const auto &tileAndSlot : placed) {
        slots[tileAndSlot.first] = tileAndSlot.second;
        taken[tileAndSlot.second] = true;
    }
    int next = 1;
    for (int tile = 1; tile <= 15; ++tile) {
        if (slots[tile] != 0)
            continue;
        while (taken[next])
            ++next;
        slots[tile] = next;
        taken[next] = true;
    }
    layOutSlots(slots);
}

void layOutSlots(const int slots[16])
{
    for (int slot = 0; slot <= 16; ++slot)
        board[slot] = 0;
    for (int tile = 1; tile <= 15; ++tile) {
        tileSlot[tile] = slots[tile];
        board[slots[tile]] = tile;
    }
}

::testing::AssertionResult boardAgrees()
{
    if (board.size() != 17)
        return ::testing::AssertionFailure() << "board has " << board.size() << " entries";
    if (board[0] != 0)
        return ::testing::AssertionFailure() << "board[0] is " << board[0];
    int named[17] = {0};
    for (int tile = 1; tile <= 15; ++tile) {
        if (tileSlot[tile] < 1 || tileSlot[tile] > 16)
            return ::testing::AssertionFailure() << "tile " << tileLetter(tile) << " in slot " << tileSlot[tile];
        if (named[tileSlot[tile]] != 0)
            return ::testing::AssertionFailure() << "tiles " << tileLetter(named[tileSlot[tile]]) << " and "
                                                 << tileLetter(tile) << " both in slot " << tileSlot[tile];
        named[tileSlot[tile]] = tile;
    }
    int zeros = 0;
    for (int slot = 1; slot <= 16; ++slot) {
        if (board[slot] == 0)
            ++zeros;
        if ((board[slot] == 0) != (named[slot] == 0))
            return ::testing::AssertionFailure() << "board[" << slot << "] is " << board[slot] << " but "
                                                 << (named[slot] ? "a tile" : "no tile") << " stands there";
    }
    if (zeros != 1)
        return ::testing::AssertionFailure() << zeros << " empty slots on the board";
    return ::testing::AssertionSuccess();
}

int emptyOnBoard()
{
    for (int slot = 1; slot <= 16; ++slot)
        if (board[slot] == 0)
            return slot;
    return 0;
}

Click clickTile(int tile)
{
    ID_BUT = tile;
    checkMove();
    if (QuikMove == 0 && validMove == 0)
        return Click::Refused;
    const bool quick = QuikMove != 0;
    if (quick)
        validMove = 0;
    if ((tile == 12 && !quick) || tile == 14 || tile == 15) {
        checkWin();
    } else {
        movenumber += 1;
        IntToString(movenumber);
    }
    return quick ? Click::Quick : Click::Step;
}
