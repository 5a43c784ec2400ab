// What more than one benchmark sets up.
#pragma once

#include "game/game_state.h"

namespace zonky::bench {

// Rows 17..20 full but for column 6, and a falling bar of four full squares standing in the
// gap: the next fall step lands it and removes four rows.
inline void ReadyToRemoveFourRows(GameState& s) {
    for (int r = 17; r <= 20; ++r)
        for (int c = kFirstColumn; c <= kLastColumn; ++c) s.Well.Set(r, c, c == 6 ? kEmpty : kFull);
    s.CurPiece.cells.fill(kEmpty);
    for (int i = 1; i <= 4; ++i) s.CurPiece.at(i, 1) = kFull;
    s.CurColor = 7;
    s.PieceCol = 6;
    s.PieceRow = 17;
    s.NeedPiece = false;
}

}  // namespace zonky::bench
