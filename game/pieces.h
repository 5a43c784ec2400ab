// The piece sets of the three modes: outlines, colours, cell shapes, normalisation.
#pragma once

#include "game/game_state.h"
#include "game/ports.h"

namespace zonky {

// Fills the grid with a new piece of the given mode and returns its colour (1..7, or 20 for
// the special piece). The draws are taken in a fixed order, so a scripted Random replays a
// piece exactly. The result is not yet normalised.
std::int32_t GeneratePiece(PieceGrid& piece, int gameMode, int levelPieces, Random& random);

// Shifts the piece to the top-left corner of its grid; an empty grid stays as it is.
void NormalizePiece(PieceGrid& piece);

// Calls test(code, row, col) for the occupied cells of the piece lying at (col, row), in the
// order the rules scan a piece: grid rows from the top, each from the left. Stops at, and
// answers false for, the first cell the test refuses.
template <typename Test>
constexpr bool EveryCell(const PieceGrid& piece, int col, int row, Test test) {
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j) {
            const std::int32_t code = piece.at(i, j);
            if (code != kEmpty && !test(code, row + i - 1, col + j - 1)) return false;
        }
    return true;
}

// Largest grid row and column holding a cell (0 for an empty grid).
struct PieceExtent {
    int height = 0;
    int width = 0;
};
PieceExtent MeasurePiece(const PieceGrid& piece);

}  // namespace zonky
