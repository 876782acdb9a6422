#include "quick_move_table.h"

#include <sstream>
#include <stdexcept>

namespace {

// Clicked tile and code | Before | Empty slot before | After | Push
const char *const quickMoveRows[] = {
    "A 1 | A1 B2 C3 | 4 | A2 B3 C4 | right, 3 tiles",
    "A 2 | A1 B2 | 3 | A2 B3 | right, 2 tiles",
    "A 3 | A2 B3 | 4 | A3 B4 | right, 2 tiles",
    "B 1 | B1 C2 D3 | 4 | B2 C3 D4 | right, 3 tiles",
    "B 2 | B1 C2 | 3 | B2 C3 | right, 2 tiles",
    "B 3 | A2 B3 | 1 | A1 B2 | left, 2 tiles",
    "B 4 | A3 B4 | 2 | A2 B3 | left, 2 tiles",
    "B 5 | B2 C3 | 4 | B3 C4 | right, 2 tiles",
    "C 1 | A2 B3 C4 | 1 | A1 B2 C3 | left, 3 tiles",
    "C 2 | B3 C4 | 2 | B2 C3 | left, 2 tiles",
    "C 3 | C2 D3 | 4 | C3 D4 | right, 2 tiles",
    "C 6 | B2 C3 | 1 | B1 C2 | left, 2 tiles",
    "C 7 | C1 D2 | 3 | C2 D3 | right, 2 tiles",
    "D 1 | B2 C3 D4 | 1 | B1 C2 D3 | left, 3 tiles",
    "D 2 | C3 D4 | 2 | C2 D3 | left, 2 tiles",
    "D 3 | C2 D3 | 1 | C1 D2 | left, 2 tiles",
    "E 1 | E5 F6 G7 | 8 | E6 F7 G8 | right, 3 tiles",
    "E 2 | E5 F6 | 7 | E6 F7 | right, 2 tiles",
    "E 3 | E6 F7 | 8 | E7 F8 | right, 2 tiles",
    "F 1 | F5 G6 H7 | 8 | F6 G7 H8 | right, 3 tiles",
    "F 2 | E6 F7 | 5 | E5 F6 | left, 2 tiles",
    "F 3 | E7 F8 | 6 | E6 F7 | left, 2 tiles",
    "F 4 | F5 G6 | 7 | F6 G7 | right, 2 tiles",
    "F 5 | F6 G7 | 8 | F7 G8 | right, 2 tiles",
    "G 1 | E6 F7 G8 | 5 | E5 F6 G7 | left, 3 tiles",
    "G 2 | F7 G8 | 6 | F6 G7 | left, 2 tiles",
    "G 4 | G6 H7 | 8 | G7 H8 | right, 2 tiles",
    "G 5 | F6 G7 | 5 | F5 G6 | left, 2 tiles",
    "G 6 | G5 H6 | 7 | G6 H7 | right, 2 tiles",
    "H 1 | F6 G7 H8 | 5 | F5 G6 H7 | left, 3 tiles",
    "H 2 | G7 H8 | 6 | G6 H7 | left, 2 tiles",
    "H 3 | G6 H7 | 5 | G5 H6 | left, 2 tiles",
    "I 1 | I9 J10 K11 | 12 | I10 J11 K12 | right, 3 tiles",
    "I 2 | I9 J10 | 11 | I10 J11 | right, 2 tiles",
    "I 3 | I10 J11 | 12 | I11 J12 | right, 2 tiles",
    "J 1 | J9 K10 L11 | 12 | J10 K11 L12 | right, 3 tiles",
    "J 2 | I10 J11 | 9 | I9 J10 | left, 2 tiles",
    "J 3 | I11 J12 | 10 | I10 J11 | left, 2 tiles",
    "J 4 | J9 K10 | 11 | J10 K11 | right, 2 tiles",
    "J 5 | J10 K11 | 12 | J11 K12 | right, 2 tiles",
    "K 1 | I10 J11 K12 | 9 | I9 J10 K11 | left, 3 tiles",
    "K 2 | J11 K12 | 10 | J10 K11 | left, 2 tiles",
    "K 3 | K9 L10 | 11 | K10 L11 | right, 2 tiles",
    "K 4 | K10 L11 | 12 | K11 L12 | right, 2 tiles",
    "K 5 | J10 K11 | 9 | J9 K10 | left, 2 tiles",
    "L 1 | J10 K11 L12 | 9 | J9 K10 L11 | left, 3 tiles",
    "L 2 | K11 L12 | 10 | K10 L11 | left, 2 tiles",
    "L 3 | K10 L11 | 9 | K9 L10 | left, 2 tiles",
    "M 1 | M13 N14 O15 | 16 | M14 N15 O16 | right, 3 tiles",
    "M 2 | M13 N14 | 15 | M14 N15 | right, 2 tiles",
    "M 3 | M14 N15 | 16 | M15 N16 | right, 2 tiles",
    "N 1 | N13 O14 | 15 | N14 O15 | right, 2 tiles",
    "N 2 | M15 N16 | 14 | M14 N15 | left, 2 tiles",
    "N 3 | M14 N15 | 13 | M13 N14 | left, 2 tiles",
    "N 4 | N14 O15 | 16 | N15 O16 | right, 2 tiles",
    "N 5 | O15 N16 | 14 | O14 N15 | left, 2 tiles",
    "N 6 | O14 M15 N16 | 13 | O13 M14 N15 | left, 3 tiles",
    "O 1 | M14 N15 O16 | 13 | M13 N14 O15 | left, 3 tiles",
    "O 2 | N15 O16 | 14 | N14 O15 | left, 2 tiles",
    "O 3 | N14 O15 | 13 | N13 O14 | left, 2 tiles",
};

// For each tile, the windows moved for codes 1 to 7, in order, with the slot each goes to.
struct WindowRow {
    const char *tile;
    const char *moves[7];
};
const WindowRow windowRows[] = {
    {"A", {"C to d, B to c, A to b", "B to c, A to b", "B to d, A to c", "", "", "", ""}},
    {"B", {"D to d, C to c, B to b", "C to c, B to b", "A to a, B to b", "A to b, B to c", "C to d, B to c", "", ""}},
    {"C", {"A to a, B to b, C to c", "B to b, C to c", "D to d, C to c", "", "", "B to a, C to b", "D to c, C to b"}},
    {"D", {"B to a, C to b, D to c", "C to b, D to c", "C to a, D to b", "", "", "", ""}},
    {"E", {"G to h, F to g, E to f", "F to g, E to f", "F to h, E to g", "", "", "", ""}},
    {"F", {"H to h, G to g, F to f", "E to e, F to f", "E to f, F to g", "G to g, F to f", "G to h, F to g", "", ""}},
    {"G", {"E to e, F to f, G to g", "F to f, G to g", "", "H to h, G to g", "F to e, G to f", "H to g, G to f", ""}},
    {"H", {"F to e, G to f, H to g", "G to f, H to g", "G to e, H to f", "", "", "", ""}},
    {"I", {"K to l, J to k, I to j", "J to k, I to j", "J to l, I to k", "", "", "", ""}},
    {"J", {"L to l, K to k, J to j", "I to i, J to j", "I to j, J to k", "K to k, J to j", "K to l, J to k", "", ""}},
    {"K", {"I to i, J to j, K to k", "J to j, K to k", "L to k, K to j", "L to l, K to k", "J to i, K to j", "", ""}},
    {"L", {"J to i, K to j, L to k", "K to j, L to k", "K to i, L to j", "", "", "", ""}},
    {"M", {"O to p, N to o, M to n", "N to o, M to n", "N to p, M to o", "", "", "", ""}},
    {"N",
     {"O to o, N to n", "M to n, N to o", "M to m, N to n", "O to p, N to o", "O to n, N to o",
      "O to m, M to n, N to o", ""}},
    {"O", {"M to m, N to n, O to o", "N to n, O to o", "N to m, O to n", "", "", "", ""}},
};

std::vector<std::string> split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) {
        const std::size_t first = part.find_first_not_of(' ');
        const std::size_t last = part.find_last_not_of(' ');
        parts.push_back(first == std::string::npos ? std::string() : part.substr(first, last - first + 1));
    }
    return parts;
}

// "A1 B2 C3" as (tile, slot) pairs.
std::vector<std::pair<int, int>> readRun(const std::string &text)
{
    std::vector<std::pair<int, int>> run;
    for (const std::string &word : split(text, ' ')) {
        if (word.size() < 2 || word[0] < 'A' || word[0] > 'O')
            throw std::invalid_argument("not a tile in a slot: " + word);
        run.emplace_back(word[0] - 'A' + 1, std::stoi(word.substr(1)));
    }
    return run;
}

ListedQuickMove readRow(const std::string &text)
{
    const std::vector<std::string> columns = split(text, '|');
    if (columns.size() != 5)
        throw std::invalid_argument("not a quick-move row: " + text);
    ListedQuickMove move;
    move.text = text;
    move.tile = columns[0][0] - 'A' + 1;
    move.code = std::stoi(columns[0].substr(1));
    move.before = readRun(columns[1]);
    move.empty = std::stoi(columns[2]);
    move.after = readRun(columns[3]);
    const std::vector<std::string> push = split(columns[4], ',');
    move.push = push[0] == "right" ? 1 : push[0] == "left" ? -1 : 0;
    move.tiles = std::stoi(push[1]);
    return move;
}

} // namespace

const std::vector<ListedQuickMove> &listedQuickMoves()
{
    static const std::vector<ListedQuickMove> moves = [] {
        std::vector<ListedQuickMove> rows;
        for (const char *row : quickMoveRows)
            rows.push_back(readRow(row));
        return rows;
    }();
    return moves;
}

const ListedQuickMove *listedQuickMove(int tile, int code)
{
    for (const ListedQuickMove &move : listedQuickMoves())
        if (move.tile == tile && move.code == code)
            return &move;
    return nullptr;
}

const ListedQuickMove *listedQuickMoveFor(int tile, const int slots[16], int empty)
{
    for (const ListedQuickMove &move : listedQuickMoves()) {
        if (move.tile != tile || move.empty != empty)
            continue;
        bool standing = true;
        for (const auto &tileAndSlot : move.before)
            standing = standing && slots[tileAndSlot.first] == tileAndSlot.second;
        if (standing)
            return &move;
    }
    return nullptr;
}

std::vector<std::pair<int, int>> listedWindowMoves(int tile, int code)
{
    std::vector<std::pair<int, int>> moves;
    for (const WindowRow &row : windowRows) {
        if (row.tile[0] - 'A' + 1 != tile || code < 1 || code > 7)
            continue;
        for (const std::string &move : split(row.moves[code - 1], ',')) {
            // "C to d"
            if (move.size() != 6 || move.compare(1, 4, " to ") != 0)
                throw std::invalid_argument(std::string("not a window move: ") + row.moves[code - 1]);
            moves.emplace_back(move[0] - 'A' + 1, move[5] - 'a' + 1);
        }
    }
    return moves;
}
