// Where things are in the window's client area, in pixels.
#pragma once

#include <QRect>

#include "game/game_state.h"

namespace zonky {

// The layout's geometry keeps its established names; constants this program adds are spelled
// kName (docs/ARCHITECTURE.md, "Names").
inline constexpr int CellSize = 18;
inline constexpr int WellTop = 16;
inline constexpr int BoxSize = 72;
inline constexpr int PreviewLeft = 227;
inline constexpr int PreviewTop = 295;

inline constexpr int kWindowWidth = 309;
inline constexpr int kWindowHeight = 380;
inline constexpr int kWellWidth = CellSize * kLastColumn;  // 216

// Counter labels and overlays of the window's layout.
inline constexpr QRect kLevelLabelRect{218, 64, 90, 15};
inline constexpr QRect kScoreLabelRect{218, 132, 90, 15};
inline constexpr QRect kLinesLabelRect{218, 200, 90, 15};
inline constexpr QPoint kPauseImgAt{26, 166};
inline constexpr QPoint kGmOvImgAt{16, 178};

// Top-left corner of well cell (row, col); also the corner of a piece box at (col, row).
constexpr QPoint CellOrigin(int row, int col) {
    return {CellSize * (col - 1), WellTop + CellSize * (row - 1)};
}
constexpr QRect CellRect(int row, int col) {
    return {CellOrigin(row, col), QSize(CellSize, CellSize)};
}
constexpr QRect PieceBoxRect(int col, int row) {
    return {CellOrigin(row, col), QSize(BoxSize, BoxSize)};
}
inline constexpr QRect kPreviewRect{PreviewLeft, PreviewTop, BoxSize, BoxSize};

}  // namespace zonky
