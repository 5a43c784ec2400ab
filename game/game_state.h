// The one shared state of a game: the well, the pieces, the counters and the flags.
#pragma once

#include <array>
#include <cstdint>

#include "game/cell_codes.h"

namespace zonky {

inline constexpr std::int32_t kSpecialColor = 20;
inline constexpr std::int32_t kColorCount = 7;

// Well geometry in the game's own numbering. Rows -3..21 from the top: -3..0 are hidden above
// the window, 1..20 visible, 21 is the floor. Columns 0..13: 0 and 13 are walls.
inline constexpr int kTopRow = -3, kFirstVisibleRow = 1, kLastRow = 20, kFloorRow = 21;
inline constexpr int kLeftWall = 0, kFirstColumn = 1, kLastColumn = 12, kRightWall = 13;
inline constexpr int kWellRows = kFloorRow - kTopRow + 1;  // 25
inline constexpr int kWellColumns = kRightWall + 1;        // 14

inline constexpr int kPiecesPerLevel = 80;
inline constexpr int kLastLevel = 8;
inline constexpr int kWonLevel = 128;
inline constexpr int kMaxLayers = 8;

enum GameModeId : std::int32_t { kClassic = 1, kDedadidavaza = 2, kZonky = 3 };

// A 4 x 4 piece grid, row 1 at the top, column 1 at the left, addressed 1-based.
struct PieceGrid {
    std::array<std::int32_t, 16> cells{};

    constexpr std::int32_t& at(int i, int j) { return cells[(i - 1) * 4 + (j - 1)]; }
    constexpr std::int32_t at(int i, int j) const { return cells[(i - 1) * 4 + (j - 1)]; }
    friend constexpr bool operator==(const PieceGrid&, const PieceGrid&) = default;
};

// The merged codes of the well. Reads outside the array answer 0, like a wall, so no scan
// can run off the edge; writes outside are dropped.
class WellGrid {
  public:
    static constexpr bool Inside(int row, int col) {
        return row >= kTopRow && row <= kFloorRow && col >= kLeftWall && col <= kRightWall;
    }
    constexpr std::int32_t At(int row, int col) const {
        return Inside(row, col) ? cells_[row - kTopRow][col] : kFull;
    }
    constexpr void Set(int row, int col, std::int32_t code) {
        if (Inside(row, col)) cells_[row - kTopRow][col] = code;
    }
    friend constexpr bool operator==(const WellGrid&, const WellGrid&) = default;

  private:
    std::array<std::array<std::int32_t, kWellColumns>, kWellRows> cells_{};
};

struct Layer {
    std::int32_t shape = 0;
    std::int32_t color = 0;
    friend constexpr bool operator==(const Layer&, const Layer&) = default;
};

// What is drawn in one well cell: the parts in the order they were fixed, each in its colour.
struct CellLayers {
    std::int32_t count = 0;
    std::array<Layer, kMaxLayers> slot{};
    friend constexpr bool operator==(const CellLayers&, const CellLayers&) = default;
};

class LayerGrid {
  public:
    // Outside the well there is nothing to draw: reads give an empty record.
    const CellLayers& At(int row, int col) const {
        static constexpr CellLayers kNone{};
        return WellGrid::Inside(row, col) ? cells_[row - kTopRow][col] : kNone;
    }
    CellLayers* Find(int row, int col) {
        return WellGrid::Inside(row, col) ? &cells_[row - kTopRow][col] : nullptr;
    }
    void Clear() { cells_ = {}; }
    friend bool operator==(const LayerGrid&, const LayerGrid&) = default;

  private:
    std::array<std::array<CellLayers, kWellColumns>, kWellRows> cells_{};
};

struct GameState {
    WellGrid Well;
    LayerGrid WellLayers;
    PieceGrid CurPiece;
    PieceGrid NextPiece;
    std::int32_t PieceCol = 0;
    std::int32_t PieceRow = 0;
    std::int32_t CurColor = 0;
    std::int32_t NextColor = 0;
    std::int32_t GameMode = kDedadidavaza;
    std::int32_t Level = 0;
    std::int32_t LevelPieces = 0;
    std::int32_t Score = 0;
    std::int32_t Lines = 0;
    bool Running = false;
    bool Paused = false;
    bool NeedPiece = false;
    bool Dropping = false;
    bool NextShown = false;
};

}  // namespace zonky
