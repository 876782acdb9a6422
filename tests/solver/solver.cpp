#include "solver.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <queue>
#include <string>
#include <tuple>
#include <unordered_set>

namespace {

using Board = std::uint64_t; // sixteen 4-bit fields, slot 1 lowest: the tile there, 0 when empty
// Clicks so far plus three times the distance left, the clicks so far (tile numbers), the board,
// its empty slot.
using Node = std::tuple<int, std::string, Board, int>;

int tileAt(Board board, int slot)
{
    return static_cast<int>((board >> (4 * slot - 4)) & 15);
}
Board placed(int tile, int slot)
{
    return static_cast<Board>(tile) << (4 * slot - 4);
}

} // namespace

bool isEvenDeal(const int slots[16])
{
    int odd = 1; // solvable: the tiles' inversions plus the empty slot's row (0 at the top) odd
    int empty = 136;
    for (int tile = 1; tile <= 15; ++tile) {
        empty -= slots[tile];
        for (int later = tile + 1; later <= 15; ++later)
            odd += slots[tile] > slots[later] ? 1 : 0;
    }
    return (odd + (empty - 1) / 4) % 2 == 0;
}

std::vector<int> solveClicks(const int slots[16], const int target[16])
{
    Board start = 0;
    Board goal = 0;
    int empty = 136; // the slot that no tile takes
    for (int tile = 1; tile <= 15; ++tile) {
        empty -= slots[tile];
        start += placed(tile, slots[tile]);
        goal += placed(tile, target[tile]);
    }
    std::unordered_set<Board> seen{start};
    std::priority_queue<Node, std::vector<Node>, std::greater<>> open;
    open.emplace(0, "", start, empty);
    while (!open.empty() && seen.size() < 2000000) {
        const auto [estimate, clicks, board, blank] = open.top();
        open.pop();
        if (board == goal)
            return std::vector<int>(clicks.begin(), clicks.end());
        for (const int next : {blank - 4, blank + 4, blank % 4 != 1 ? blank - 1 : 0, blank % 4 != 0 ? blank + 1 : 0}) {
            const int tile = next >= 1 && next <= 16 ? tileAt(board, next) : 0;
            const Board after = tile == 0 ? board : board - placed(tile, next) + placed(tile, blank);
            // A board seen before is skipped, and so is one on which the game would end on the way
            // there: A to M at home and the last slot empty.
            const bool ends = (after & 0xF00FFFFFFFFFFFFFu) == 0x000DCBA987654321u;
            if ((after != goal && ends) || !seen.insert(after).second)
                continue;
            int away = 0; // rows plus columns from every tile to its target
            for (int slot = 0; slot < 16; ++slot)
                if (const int at = tileAt(after, slot + 1)) {
                    const int home = target[at] - 1;
                    away += std::abs(slot / 4 - home / 4) + std::abs(slot % 4 - home % 4);
                }
            open.emplace(static_cast<int>(clicks.size()) + 1 + 3 * away, clicks + static_cast<char>(tile), after, next);
        }
    }
    return {};
}
