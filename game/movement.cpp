#include "game/movement.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "game/pieces.h"

namespace zonky {
namespace {

struct Merge {
    std::int32_t first;   // falling code (a in the symmetric table)
    std::int32_t second;  // resting code (b in the symmetric table)
    std::int32_t merged;
};

// Vertical pairs: a falling part may enter a cell holding the resting part.
constexpr std::array<Merge, 21> MergeRules{{
    {kTRL, kB, kFull}, {kTL, kB, kTBL},   {kT, kL, kTL},   {kTL, kR, kTRL}, {kTL, kRB, kFull},
    {kR, kBL, kRBL},   {kR, kB, kRB},     {kR, kL, kRL},   {kT, kRB, kTRB}, {kT, kB, kTB},
    {kT, kR, kTR},     {kL, kRB, kRBL},   {kL, kB, kBL},   {kL, kR, kRL},   {kTR, kL, kTRL},
    {kT, kRBL, kFull}, {kTR, kBL, kFull}, {kTR, kB, kTRB}, {kT, kBL, kTBL}, {kT, kRL, kTRL},
    {kRL, kB, kRBL},
}};

// Horizontal pairs: (a, b) lets a move left into b and b move right into a; when merging it
// is applied both ways round.
constexpr std::array<Merge, 19> SymMergeRules{{
    {kTRB, kL, kFull}, {kR, kTBL, kFull}, {kR, kL, kRL},   {kR, kB, kRB},   {kR, kT, kTR},
    {kR, kTB, kTRB},   {kR, kBL, kRBL},   {kT, kL, kTL},   {kR, kTL, kTRL}, {kB, kTL, kTBL},
    {kB, kL, kBL},     {kB, kT, kTB},     {kT, kB, kTB},   {kT, kBL, kTBL}, {kTR, kBL, kFull},
    {kRB, kTL, kFull}, {kTB, kL, kTBL},   {kRB, kL, kRBL}, {kRB, kT, kTRB},
}};

// Per piece code -6..6, a short list of codes; unlisted codes have none.
struct CodeSet {
    int count = 0;
    std::array<std::int32_t, 6> codes{};
};
using CodeTable = std::array<CodeSet, kMaxPieceCode - kMinPieceCode + 1>;

constexpr CodeTable MakeTable(std::initializer_list<std::pair<std::int32_t, CodeSet>> rows) {
    CodeTable table{};
    for (const auto& [code, set] : rows) table[code - kMinPieceCode] = set;
    return table;
}

// Well codes a piece cell may share its cell with during the vertical test.
constexpr CodeTable FallExitRules = MakeTable({
    {kRB, {3, {kTL, kL, kT}}},
    {kB, {6, {kTRL, kTL, kR, kL, kT, kTR}}},
    {kL, {3, {kTR, kR, kT}}},
    {kR, {3, {kTL, kL, kT}}},
    {kBL, {3, {kR, kT, kTR}}},
});

// Codes that may share a cell with c when c leaves it towards the left.
constexpr CodeTable SideExitRules = MakeTable({
    {kT, {3, {kR, kB, kRB}}},
    {kB, {3, {kT, kR, kTR}}},
    {kL, {6, {kT, kTRB, kRB, kTR, kR, kB}}},
    {kTBL, {1, {kR}}},
    {kBL, {3, {kTR, kR, kT}}},
    {kTL, {3, {kRB, kR, kB}}},
});

// The code after a clockwise quarter turn, for codes -6..6.
constexpr std::array<std::int32_t, 13> RotateCode{kBL,  kRB,  kR,   kL,   kT,  kB, kFull,
                                                  kTRL, kRBL, kTRB, kTBL, kTL, kTR};

bool Listed(const CodeTable& table, std::int32_t code, std::int32_t other) {
    if (code < kMinPieceCode || code > kMaxPieceCode) return false;
    const CodeSet& set = table[code - kMinPieceCode];
    for (int k = 0; k < set.count; ++k)
        if (set.codes[k] == other) return true;
    return false;
}

template <std::size_t N>
bool HasPair(const std::array<Merge, N>& rules, std::int32_t first, std::int32_t second) {
    for (const Merge& rule : rules)
        if (rule.first == first && rule.second == second) return true;
    return false;
}

bool IsSpecial(const PieceGrid& piece) {
    return piece.at(1, 1) == kSpecialCell;
}

}  // namespace

bool PieceFits(const WellGrid& well, const PieceGrid& piece, int col, int row, int offset) {
    if (IsSpecial(piece)) return well.At(row, col) == kEmpty && row != kLastRow;

    return EveryCell(piece, col, row, [&](std::int32_t v, int r, int c) {
        const std::int32_t own = well.At(r, c);
        if (own != kEmpty && !Listed(FallExitRules, v, own)) return false;
        const std::int32_t below = well.At(r + 1 - offset, c);
        return below == kEmpty || HasPair(MergeRules, v, below);
    });
}

bool CanShift(const WellGrid& well, const PieceGrid& piece, int col, int row, bool toLeft) {
    if (IsSpecial(piece)) {
        return well.At(row, col) == kEmpty && !(toLeft && col == kFirstColumn) &&
               !(!toLeft && col == kLastColumn);
    }

    return EveryCell(piece, col, row, [&](std::int32_t v, int r, int c) {
        const std::int32_t own = well.At(r, c);
        if (own != kEmpty) {
            const bool mayLeave =
                toLeft ? Listed(SideExitRules, v, own) : Listed(SideExitRules, own, v);
            if (!mayLeave) return false;
        }
        const std::int32_t target = well.At(r, toLeft ? c - 1 : c + 1);
        if (target == kEmpty) return true;
        return toLeft ? HasPair(SymMergeRules, v, target) : HasPair(SymMergeRules, target, v);
    });
}

void RotatePiece(PieceGrid& piece, std::int32_t curColor) {
    NormalizePiece(piece);
    if (curColor == kSpecialColor) return;

    PieceGrid turned;
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j) turned.at(j, 5 - i) = piece.at(i, j);
    for (std::int32_t& code : turned.cells)
        if (code >= kMinPieceCode && code <= kMaxPieceCode) code = RotateCode[code - kMinPieceCode];
    piece = turned;
    NormalizePiece(piece);
}

std::int32_t MergeCodes(std::int32_t falling, std::int32_t resting) {
    std::int32_t cell = resting;
    for (const Merge& rule : MergeRules)
        if (rule.first == falling && rule.second == cell) cell = rule.merged;
    for (const Merge& rule : SymMergeRules)
        if (rule.first == falling && rule.second == cell) cell = rule.merged;
    for (const Merge& rule : SymMergeRules)
        if (rule.second == falling && rule.first == cell) cell = rule.merged;
    return cell;
}

}  // namespace zonky
