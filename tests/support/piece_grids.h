// Pieces for tests: grids written out cell by cell, and a falling piece put straight into a
// running game.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "game/game_state.h"

namespace zonky::test {

// Builds a grid from up to 16 codes, row by row; the rest stays empty.
inline PieceGrid Grid(std::initializer_list<std::int32_t> codes) {
    PieceGrid grid;
    grid.cells.fill(kEmpty);
    int k = 0;
    for (std::int32_t c : codes) grid.cells[k++] = c;
    return grid;
}

// A grid with one cell at (1, 1).
inline PieceGrid Single(std::int32_t code) {
    return Grid({code});
}

// Makes `piece` the falling piece at (col, row), as if it had just entered.
inline void PlaceFallingPiece(GameState& s, const PieceGrid& piece, int col, int row, int color) {
    s.CurPiece = piece;
    s.CurColor = color;
    s.PieceCol = col;
    s.PieceRow = row;
    s.NeedPiece = false;
}

// Fills well row `row` with full squares of `color`, as if pieces had settled there.
inline void SettleFullRow(GameState& s, int row, int color) {
    for (int c = kFirstColumn; c <= kLastColumn; ++c) {
        s.Well.Set(row, c, kFull);
        *s.WellLayers.Find(row, c) = CellLayers{1, {Layer{kFull, color}}};
    }
}

}  // namespace zonky::test
