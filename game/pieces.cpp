#include "game/pieces.h"

#include <array>
#include <bit>
#include <cstdint>
#include <initializer_list>

namespace zonky {
namespace {

// In a template, 1 marks a cell whose shape the mode chooses and 0 a cell that is always full.
constexpr std::int32_t o = kEmpty;
constexpr PieceGrid Template(std::initializer_list<std::int32_t> rows) {
    PieceGrid grid{};
    int k = 0;
    for (std::int32_t v : rows) grid.cells[k++] = v;
    return grid;
}

constexpr int kTemplateCount = 11;
constexpr std::array<PieceGrid, kTemplateCount> PieceTemplates{{
    Template({o, o, o, o, o, 1, o, o, o, o, o, o, o, o, o, o}),  // 1 one cell
    Template({o, o, o, o, o, 1, o, o, o, 1, o, o, o, o, o, o}),  // 2 vertical pair
    Template({o, 1, o, o, o, 0, o, o, o, 1, o, o, o, o, o, o}),  // 3 vertical three
    Template({o, 1, o, o, o, 0, o, o, o, 0, o, o, o, 1, o, o}),  // 4 I
    Template({o, o, o, o, o, 1, 0, 1, o, o, 1, o, o, o, o, o}),  // 5 T
    Template({o, o, o, o, o, 1, 1, o, o, 1, 1, o, o, o, o, o}),  // 6 O
    Template({o, o, o, o, o, 1, 1, o, 1, 1, o, o, o, o, o, o}),  // 7 S
    Template({o, o, o, o, 1, 1, o, o, o, 1, 1, o, o, o, o, o}),  // 8 Z
    Template({o, 1, 1, o, o, 0, o, o, o, 1, o, o, o, o, o, o}),  // 9 L, top to the right
    Template({1, 1, o, o, o, 0, o, o, o, 1, o, o, o, o, o, o}),  // 10 L, top to the left
    Template({o, 1, 1, o, o, 1, o, o, o, o, o, o, o, o, o, o}),  // 11 corner
}};

// Weights of a cell's neighbours in its mask.
enum NeighbourBits { kAbove = 1, kRight = 2, kBelow = 4, kLeft = 8 };

struct ShapeList {
    int count;
    std::array<std::int32_t, 13> codes;
};

// Per neighbour mask, the codes whose full edges face every neighbour, in the order the
// random choice indexes.
constexpr std::array<ShapeList, 16> ShapeChoices{{
    {13, {-6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6}},  // 0 none
    {7, {0, 2, 3, 6, -4, -5, 1}},                         // 1 above
    {7, {0, 3, 4, -1, -5, -6, 2}},                        // 2 right
    {4, {0, 2, 3, -5}},                                   // 3 above, right
    {7, {0, 2, 4, 5, -3, -6, 1}},                         // 4 below
    {3, {0, 1, 2}},                                       // 5 above, below
    {4, {0, 2, 4, -6}},                                   // 6 right, below
    {2, {0, 2}},                                          // 7 above, right, below
    {7, {0, 1, 3, 4, 5, 6, -2}},                          // 8 left
    {4, {0, 1, 3, 6}},                                    // 9 above, left
    {3, {0, 4, 3}},                                       // 10 right, left
    {2, {0, 3}},                                          // 11 above, right, left
    {4, {0, 1, 4, 5}},                                    // 12 below, left
    {2, {0, 1}},                                          // 13 above, below, left
    {2, {0, 4}},                                          // 14 right, below, left
    {1, {0}},                                             // 15 all four
}};

// Dedadidavaza cells are full or half squares; Zonky's bias goes to the quarters.
constexpr std::array<std::int32_t, 5> kHalfSquareCodes{0, 5, 6, -5, -6};
constexpr std::array<std::int32_t, 4> kQuarterCodes{-4, -3, -2, -1};

constexpr int kDedadidavazaSpecialOdds = 15;
constexpr int kDedadidavazaSpecialHit = 6;
constexpr int kZonkySpecialOdds = 10;
constexpr int kZonkySpecialHit = 2;
constexpr int kZonkyQuarterOdds = 3;
constexpr int kZonkyQuarterHit = 1;

bool Occupied(const PieceGrid& grid, int i, int j) {
    return i >= 1 && i <= 4 && j >= 1 && j <= 4 && grid.at(i, j) != kEmpty;
}

int NeighbourMask(const PieceGrid& grid, int i, int j) {
    int mask = 0;
    if (Occupied(grid, i - 1, j)) mask |= kAbove;
    if (Occupied(grid, i, j + 1)) mask |= kRight;
    if (Occupied(grid, i + 1, j)) mask |= kBelow;
    if (Occupied(grid, i, j - 1)) mask |= kLeft;
    return mask;
}

template <std::size_t N>
bool Contains(const std::array<std::int32_t, N>& set, std::int32_t code) {
    for (std::int32_t c : set)
        if (c == code) return true;
    return false;
}

// Keeps the list entries that belong to the set, in list order, and draws one of them.
template <std::size_t N>
std::int32_t DrawFiltered(const ShapeList& list, const std::array<std::int32_t, N>& keep,
                          Random& random) {
    std::array<std::int32_t, 13> kept{};
    int n = 0;
    for (int k = 0; k < list.count; ++k)
        if (Contains(keep, list.codes[k])) kept[n++] = list.codes[k];
    return kept[random.Draw(n)];
}

std::int32_t ChooseShape(int gameMode, int mask, Random& random) {
    const ShapeList& list = ShapeChoices[mask];
    switch (gameMode) {
        case kClassic:
            return kFull;
        case kDedadidavaza:
            return DrawFiltered(list, kHalfSquareCodes, random);
        default:
            if (std::popcount(static_cast<unsigned>(mask)) <= 1 &&
                random.Draw(kZonkyQuarterOdds) == kZonkyQuarterHit)
                return DrawFiltered(list, kQuarterCodes, random);
            return list.codes[random.Draw(list.count)];
    }
}

bool DrawsSpecial(int gameMode, Random& random) {
    if (gameMode == kDedadidavaza)
        return random.Draw(kDedadidavazaSpecialOdds) == kDedadidavazaSpecialHit;
    if (gameMode == kZonky) return random.Draw(kZonkySpecialOdds) == kZonkySpecialHit;
    return false;
}

bool ClassicTemplate(int t) {
    return t >= 4 && t <= 10;
}

}  // namespace

std::int32_t GeneratePiece(PieceGrid& piece, int gameMode, int levelPieces, Random& random) {
    // The draw is made even when the first pieces of a level may not be special.
    if (DrawsSpecial(gameMode, random) && levelPieces > 0) {
        piece = PieceTemplates[0];
        piece.at(2, 2) = kSpecialCell;
        return kSpecialColor;
    }

    int t = 0;
    do {
        t = random.Draw(kTemplateCount) + 1;
    } while (gameMode == kClassic && !ClassicTemplate(t));
    piece = PieceTemplates[t - 1];

    const std::int32_t color = random.Draw(kColorCount) + 1;

    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            if (piece.at(i, j) == 1)
                piece.at(i, j) = ChooseShape(gameMode, NeighbourMask(piece, i, j), random);
    return color;
}

void NormalizePiece(PieceGrid& piece) {
    constexpr int kNone = 1000;
    int top = kNone;
    int left = kNone;
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            if (piece.at(i, j) != kEmpty) {
                if (i < top) top = i;
                if (j < left) left = j;
            }
    if (top == kNone) return;

    PieceGrid moved;
    moved.cells.fill(kEmpty);
    for (int i = top; i <= 4; ++i)
        for (int j = left; j <= 4; ++j)
            if (piece.at(i, j) != kEmpty) moved.at(i - top + 1, j - left + 1) = piece.at(i, j);
    piece = moved;
}

PieceExtent MeasurePiece(const PieceGrid& piece) {
    PieceExtent extent;
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            if (piece.at(i, j) != kEmpty) {
                if (i > extent.height) extent.height = i;
                if (j > extent.width) extent.width = j;
            }
    return extent;
}

}  // namespace zonky
