#include "game/pieces.h"

#include <array>
#include <bit>
#include <cstdint>
#include <initializer_list>

namespace zonky {
namespace {

// In a template, X marks a cell whose shape the mode chooses and F a cell that is always full.
constexpr std::int32_t kChosen = 1;
constexpr std::int32_t o = kEmpty;
constexpr std::int32_t X = kChosen;
constexpr std::int32_t F = kFull;
constexpr PieceGrid Template(std::initializer_list<std::int32_t> rows) {
    PieceGrid grid{};
    int k = 0;
    for (std::int32_t v : rows) grid.cells[k++] = v;
    return grid;
}

constexpr int kTemplateCount = 11;
constexpr std::array<PieceGrid, kTemplateCount> PieceTemplates{{
    Template({o, o, o, o, o, X, o, o, o, o, o, o, o, o, o, o}),  // 1 one cell
    Template({o, o, o, o, o, X, o, o, o, X, o, o, o, o, o, o}),  // 2 vertical pair
    Template({o, X, o, o, o, F, o, o, o, X, o, o, o, o, o, o}),  // 3 vertical three
    Template({o, X, o, o, o, F, o, o, o, F, o, o, o, X, o, o}),  // 4 I
    Template({o, o, o, o, o, X, F, X, o, o, X, o, o, o, o, o}),  // 5 T
    Template({o, o, o, o, o, X, X, o, o, X, X, o, o, o, o, o}),  // 6 O
    Template({o, o, o, o, o, X, X, o, X, X, o, o, o, o, o, o}),  // 7 S
    Template({o, o, o, o, X, X, o, o, o, X, X, o, o, o, o, o}),  // 8 Z
    Template({o, X, X, o, o, F, o, o, o, X, o, o, o, o, o, o}),  // 9 L, top to the right
    Template({X, X, o, o, o, F, o, o, o, X, o, o, o, o, o, o}),  // 10 L, top to the left
    Template({o, X, X, o, o, X, o, o, o, o, o, o, o, o, o, o}),  // 11 corner
}};

struct ShapeList {
    int count;
    std::array<std::int32_t, 13> codes;
};

// Per neighbour mask (the quarters whose edges face a neighbour), the codes that hold every
// quarter of the mask, in the order the random choice indexes.
// clang-format off
constexpr std::array<ShapeList, 16> ShapeChoices{{
    {13, {kRB, kTR, kT, kB, kL, kR, kFull, kTBL, kTRB, kTRL, kRBL, kBL, kTL}},  // 0 none
    {7, {kFull, kTRB, kTRL, kTL, kT, kTR, kTBL}},  // 1 above
    {7, {kFull, kTRL, kRBL, kR, kTR, kRB, kTRB}},  // 2 right
    {4, {kFull, kTRB, kTRL, kTR}},                 // 3 above, right
    {7, {kFull, kTRB, kRBL, kBL, kB, kRB, kTBL}},  // 4 below
    {3, {kFull, kTBL, kTRB}},                      // 5 above, below
    {4, {kFull, kTRB, kRBL, kRB}},                 // 6 right, below
    {2, {kFull, kTRB}},                            // 7 above, right, below
    {7, {kFull, kTBL, kTRL, kRBL, kBL, kTL, kL}},  // 8 left
    {4, {kFull, kTBL, kTRL, kTL}},                 // 9 above, left
    {3, {kFull, kRBL, kTRL}},                      // 10 right, left
    {2, {kFull, kTRL}},                            // 11 above, right, left
    {4, {kFull, kTBL, kRBL, kBL}},                 // 12 below, left
    {2, {kFull, kTBL}},                            // 13 above, below, left
    {2, {kFull, kRBL}},                            // 14 right, below, left
    {1, {kFull}},                                  // 15 all four
}};
// clang-format on

// Dedadidavaza cells are full or half squares; Zonky's bias goes to the quarters.
constexpr std::array<std::int32_t, 5> kHalfSquareCodes{kFull, kBL, kTL, kTR, kRB};
constexpr std::array<std::int32_t, 4> kQuarterCodes{kT, kB, kL, kR};

// A chance: a draw from `odds` hits when it gives `hit`.
struct Chance {
    int odds;
    int hit;
    bool Hits(Random& random) const { return random.Draw(odds) == hit; }
};
constexpr Chance kDedadidavazaSpecial{15, 6};
constexpr Chance kZonkySpecial{10, 2};
constexpr Chance kZonkyQuarter{3, 1};

bool Occupied(const PieceGrid& grid, int i, int j) {
    return i >= 1 && i <= 4 && j >= 1 && j <= 4 && grid.at(i, j) != kEmpty;
}

int NeighbourMask(const PieceGrid& grid, int i, int j) {
    int mask = 0;
    if (Occupied(grid, i - 1, j)) mask |= kTop;
    if (Occupied(grid, i, j + 1)) mask |= kRight;
    if (Occupied(grid, i + 1, j)) mask |= kBottom;
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
            if (std::popcount(static_cast<unsigned>(mask)) <= 1 && kZonkyQuarter.Hits(random))
                return DrawFiltered(list, kQuarterCodes, random);
            return list.codes[random.Draw(list.count)];
    }
}

bool DrawsSpecial(int gameMode, Random& random) {
    if (gameMode == kDedadidavaza) return kDedadidavazaSpecial.Hits(random);
    if (gameMode == kZonky) return kZonkySpecial.Hits(random);
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
            if (piece.at(i, j) == kChosen)
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
