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

// Largest grid row and column holding a cell (0 for an empty grid).
struct PieceExtent {
    int height = 0;
    int width = 0;
};
PieceExtent MeasurePiece(const PieceGrid& piece);

}  // namespace zonky
