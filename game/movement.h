// Collision, movement and rotation of a piece whose cells may be partial squares.
#pragma once

#include <cstdint>

#include "game/game_state.h"

namespace zonky {

// Offset 0: can the piece at (col, row) fall one row? Offset 1: may it lie at (col, row)?
bool PieceFits(const WellGrid& well, const PieceGrid& piece, int col, int row, int offset);

// Can the piece at (col, row) move one column left (toLeft) or right?
bool CanShift(const WellGrid& well, const PieceGrid& piece, int col, int row, bool toLeft);

// One clockwise quarter turn in place, keeping the grid normalised. The special piece
// (curColor 20) is only normalised.
void RotatePiece(PieceGrid& piece, std::int32_t curColor);

// The code two parts resting in one cell merge into: `resting` as it becomes after the
// falling part `falling` joins it. Unlisted pairs keep `resting`.
std::int32_t MergeCodes(std::int32_t falling, std::int32_t resting);

}  // namespace zonky
