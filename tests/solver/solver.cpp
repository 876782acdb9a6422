#include "solver.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

const int TILES = 15;
const int SLOTS = 16;
const int TILE_M = 13;
const int TILE_N = 14;
const int TILE_O = 15;

int rowOf(int slot) { return (slot - 1) / 4; }
int columnOf(int slot) { return (slot - 1) % 4; }
int homeRow(int tile) { return (tile - 1) / 4; }

// Slots next to slot, in one row or one column; 0 pads the list.
struct Neighbours {
    int slot[4];
};

Neighbours neighboursOf(int slot)
{
    Neighbours result = {{0, 0, 0, 0}};
    int n = 0;
    // Along the row first: of paths equally short, the search keeps the one found
    // first, and runs along a row are what quick moves are made of.
    if (columnOf(slot) > 0)
        result.slot[n++] = slot - 1;
    if (columnOf(slot) < 3)
        result.slot[n++] = slot + 1;
    if (rowOf(slot) > 0)
        result.slot[n++] = slot - 4;
    if (rowOf(slot) < 3)
        result.slot[n++] = slot + 4;
    return result;
}

// The board as the player sees it: which tile stands in each slot (0 for the empty one).
struct Position {
    int tileAt[SLOTS + 1];
    int slotOf[TILES + 1];
    int empty;

    // Tile tile slides into the empty slot next to it.
    void step(int tile)
    {
        const int from = slotOf[tile];
        tileAt[empty] = tile;
        slotOf[tile] = empty;
        tileAt[from] = 0;
        empty = from;
    }
};

bool readPosition(const int tileSlots[16], Position &position)
{
    for (int slot = 0; slot <= SLOTS; ++slot)
        position.tileAt[slot] = 0;
    position.slotOf[0] = 0;
    for (int tile = 1; tile <= TILES; ++tile) {
        const int slot = tileSlots[tile];
        if (slot < 1 || slot > SLOTS || position.tileAt[slot] != 0)
            return false;
        position.tileAt[slot] = tile;
        position.slotOf[tile] = slot;
    }
    for (int slot = 1; slot <= SLOTS; ++slot)
        if (position.tileAt[slot] == 0)
            position.empty = slot;
    return true;
}

// Whether a click on the tile in slot clicked, with the empty slot at empty, pushes
// the run between them one slot along: the clicked tile, the empty slot and the one or
// two tiles between stand in the clicked tile's home row, and the run reads in picture
// order (the clicked tile leftmost when it pushes right, rightmost when it pushes left).
// N also pushes O15 N16 into slot 14, and O14 M15 N16 into slot 13.
bool pushesRun(const Position &position, int clicked, int empty)
{
    const int tile = position.tileAt[clicked];
    if (tile == 0 || rowOf(clicked) != rowOf(empty))
        return false;
    const int distance = std::abs(clicked - empty);
    if (distance < 2 || distance > 3)
        return false;

    if (tile == TILE_N && clicked == 16) {
        if (empty == 14 && position.tileAt[15] == TILE_O)
            return true;
        if (empty == 13 && position.tileAt[14] == TILE_O && position.tileAt[15] == TILE_M)
            return true;
    }

    if (homeRow(tile) != rowOf(clicked))
        return false;
    const int along = empty > clicked ? 1 : -1; // the way the run is pushed
    for (int i = 1; i < distance; ++i) {
        const int next = position.tileAt[clicked + along * i];
        if (next != tile + along * i || homeRow(next) != homeRow(tile))
            return false;
    }
    return true;
}

// Where each tile has to end: home, or, for an odd position, home but for N in slot 15
// and O in slot 14.
void endSlots(bool even, int target[TILES + 1])
{
    for (int tile = 0; tile <= TILES; ++tile)
        target[tile] = tile;
    if (!even) {
        target[TILE_N] = 15;
        target[TILE_O] = 14;
    }
}

// Slots are filled a group at a time. Each group is brought in by a breadth-first search
// over the empty slot and the positions of the group's tiles, moving only in the slots
// not yet filled; the other tiles there are all alike to the search.
const int GROUPS = 7;
const int groupSlots[GROUPS][3] = {
    {1, 2, 0}, {3, 4, 0}, {5, 6, 0}, {7, 8, 0}, {9, 13, 0}, {10, 14, 0}, {11, 12, 15},
};

// A search state: the empty slot and the slots of up to three tiles, 5 bits each.
int encode(int empty, const int at[3]) { return empty | (at[0] << 5) | (at[1] << 10) | (at[2] << 15); }
const int STATES = 1 << 20;

class Search {
public:
    Search() : seen_(STATES, 0), cameFrom_(STATES, 0) {}

    // The empty slot's path (not counting where it starts) that brings tiles to goals,
    // or false when no path exists within the free slots.
    bool run(int empty, const int tiles[3], const int goals[3], int count, const bool free[SLOTS + 1],
             std::vector<int> &path)
    {
        ++stamp_;
        int at[3] = {0, 0, 0};
        for (int i = 0; i < count; ++i)
            at[i] = tiles[i];
        std::vector<int> queue;
        queue.reserve(4096);
        const int start = encode(empty, at);
        seen_[start] = stamp_;
        queue.push_back(start);
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const int state = queue[head];
            const int blank = state & 31;
            int where[3] = {(state >> 5) & 31, (state >> 10) & 31, (state >> 15) & 31};
            bool done = true;
            for (int i = 0; i < count; ++i)
                done = done && where[i] == goals[i];
            if (done) {
                path.clear();
                for (int s = state; s != start; s = cameFrom_[s])
                    path.push_back(s & 31);
                std::reverse(path.begin(), path.end());
                return true;
            }
            const Neighbours next = neighboursOf(blank);
            for (int slot : next.slot) {
                if (slot == 0 || !free[slot])
                    continue;
                int moved[3] = {where[0], where[1], where[2]};
                for (int i = 0; i < count; ++i)
                    if (moved[i] == slot)
                        moved[i] = blank;
                const int after = encode(slot, moved);
                if (seen_[after] == stamp_)
                    continue;
                seen_[after] = stamp_;
                cameFrom_[after] = state;
                queue.push_back(after);
            }
        }
        return false;
    }

private:
    std::vector<unsigned> seen_;
    std::vector<int> cameFrom_;
    unsigned stamp_ = 0;
};

// Single-step clicks that bring every tile to target, or false if the search fails.
bool stepClicks(Position position, const int target[TILES + 1], std::vector<int> &clicks)
{
    static Search search;
    int tileFor[SLOTS + 1] = {0};
    for (int tile = 1; tile <= TILES; ++tile)
        tileFor[target[tile]] = tile;

    bool free[SLOTS + 1];
    for (int slot = 0; slot <= SLOTS; ++slot)
        free[slot] = slot != 0;

    std::vector<int> path;
    for (const int(&group)[3] : groupSlots) {
        int tiles[3] = {0, 0, 0};
        int goals[3] = {0, 0, 0};
        int count = 0;
        for (int slot : group) {
            if (slot == 0)
                continue;
            goals[count] = slot;
            tiles[count] = position.slotOf[tileFor[slot]];
            ++count;
        }
        if (!search.run(position.empty, tiles, goals, count, free, path))
            return false;
        for (int slot : path) {
            const int tile = position.tileAt[slot];
            clicks.push_back(tile);
            position.step(tile);
        }
        for (int i = 0; i < count; ++i)
            free[goals[i]] = false;
    }
    return true;
}

// Plays the single steps again, taking two or three steps along a row in one click
// wherever that click makes a quick move that does the same.
std::vector<int> withQuickMoves(Position position, const std::vector<int> &steps)
{
    std::vector<int> clicks;
    std::size_t i = 0;
    while (i < steps.size()) {
        int taken = 1;
        for (int run = 3; run >= 2 && taken == 1; --run) {
            if (i + run > steps.size())
                continue;
            // The steps must carry the empty slot run slots along its row, one way.
            const int empty = position.empty;
            const int way = position.slotOf[steps[i]] - empty;
            if (way != 1 && way != -1)
                continue;
            bool straight = true;
            for (int k = 0; k < run; ++k)
                straight = straight && position.slotOf[steps[i + k]] == empty + way * (k + 1);
            const int clicked = empty + way * run;
            if (straight && rowOf(clicked) == rowOf(empty) && pushesRun(position, clicked, empty))
                taken = run;
        }
        if (taken > 1)
            clicks.push_back(steps[i + taken - 1]);
        else
            clicks.push_back(steps[i]);
        for (int k = 0; k < taken; ++k)
            position.step(steps[i + k]);
        i += taken;
    }
    return clicks;
}

} // namespace

bool isEvenDeal(const int tileSlots[16])
{
    Position position;
    if (!readPosition(tileSlots, position))
        return false;
    int order[SLOTS + 1];
    for (int slot = 1; slot <= SLOTS; ++slot)
        order[slot] = position.tileAt[slot] == 0 ? SLOTS : position.tileAt[slot];
    int inversions = 0;
    for (int i = 1; i <= SLOTS; ++i)
        for (int j = i + 1; j <= SLOTS; ++j)
            if (order[i] > order[j])
                ++inversions;
    const int distance = (3 - rowOf(position.empty)) + (3 - columnOf(position.empty));
    return (inversions + distance) % 2 == 0;
}

std::vector<int> solveClicks(const int tileSlots[16], bool useQuickMoves)
{
    Position position;
    if (!readPosition(tileSlots, position))
        return std::vector<int>();
    int target[TILES + 1];
    endSlots(isEvenDeal(tileSlots), target);

    std::vector<int> steps;
    if (!stepClicks(position, target, steps))
        return std::vector<int>();
    if (!useQuickMoves)
        return steps;
    return withQuickMoves(position, steps);
}
