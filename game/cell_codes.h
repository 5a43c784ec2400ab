// The vocabulary of the rules: what a cell code means. A square cell is cut by its two
// diagonals into four quarter triangles, top, right, bottom and left; every cell content is a
// union of quarters with a code of its own. The names spell the quarters in that order, so
// kTBL is the square with a notch in its right side.
#pragma once

#include <array>
#include <cstdint>

namespace zonky {

// The quarters, as bits of a set. A code has a full edge on a side when it holds that
// side's quarter.
enum Quarter : int { kTop = 1, kRight = 2, kBottom = 4, kLeft = 8, kAllQuarters = 15 };

inline constexpr std::int32_t kEmpty = 250;
inline constexpr std::int32_t kFull = 0;  // also every wall and floor cell
inline constexpr std::int32_t kTBL = 1;   // notch in the right side
inline constexpr std::int32_t kTRB = 2;   // notch in the left side
inline constexpr std::int32_t kTRL = 3;   // notch in the bottom side
inline constexpr std::int32_t kRBL = 4;   // notch in the top side
inline constexpr std::int32_t kBL = 5;    // half squares, named by the quarters they hold
inline constexpr std::int32_t kTL = 6;
inline constexpr std::int32_t kTR = -5;
inline constexpr std::int32_t kRB = -6;
inline constexpr std::int32_t kR = -1;  // single quarters
inline constexpr std::int32_t kL = -2;
inline constexpr std::int32_t kB = -3;
inline constexpr std::int32_t kT = -4;
inline constexpr std::int32_t kRL = 7;  // made only by merging in the well
inline constexpr std::int32_t kTB = 8;
inline constexpr std::int32_t kSpecialCell = 20;  // the special piece's cell, never in the well

// Codes -6..6 are the shapes a piece cell can have; the sprite strips hold them in this order.
inline constexpr std::int32_t kMinPieceCode = kRB;
inline constexpr std::int32_t kMaxPieceCode = kTL;

struct CodeQuarters {
    std::int32_t code;
    int quarters;
};

// Which quarters each code holds. The empty cell and the special cell hold none.
inline constexpr std::array<CodeQuarters, 17> kCellQuarters{{
    {kEmpty, 0},
    {kFull, kAllQuarters},
    {kTBL, kTop | kBottom | kLeft},
    {kTRB, kTop | kRight | kBottom},
    {kTRL, kTop | kRight | kLeft},
    {kRBL, kRight | kBottom | kLeft},
    {kBL, kBottom | kLeft},
    {kTL, kTop | kLeft},
    {kTR, kTop | kRight},
    {kRB, kRight | kBottom},
    {kR, kRight},
    {kL, kLeft},
    {kB, kBottom},
    {kT, kTop},
    {kRL, kRight | kLeft},
    {kTB, kTop | kBottom},
    {kSpecialCell, 0},
}};

// The quarters of a code; 0 for codes that are no cell content.
constexpr int Quarters(std::int32_t code) {
    for (const CodeQuarters& entry : kCellQuarters)
        if (entry.code == code) return entry.quarters;
    return 0;
}

}  // namespace zonky
