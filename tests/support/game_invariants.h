// The invariants of the game state that hold after every command, whatever the player
// does: for the soaks of the engine and of the real window.
#pragma once

#include <string>

#include "game/game_state.h"

namespace zonky::test {

inline bool WellCode(std::int32_t code) {
    return code == kEmpty || (code >= kMinPieceCode && code <= kTB);
}

// Returns an empty string when every invariant holds, else what broke.
inline std::string CheckInvariants(const GameState& s) {
    if (s.Running && s.Paused) return "running and paused";
    for (int r = kTopRow; r <= kFloorRow; ++r) {
        if (s.Well.At(r, kLeftWall) != kFull || s.Well.At(r, kRightWall) != kFull) return "wall";
        if (s.WellLayers.At(r, kLeftWall).count != 0 || s.WellLayers.At(r, kRightWall).count != 0)
            return "wall layers";
    }
    for (int c = kLeftWall; c <= kRightWall; ++c)
        if (s.Well.At(kFloorRow, c) != kFull) return "floor";
    if (s.Level == 0) return "";  // no game was ever started
    for (int r = kTopRow; r <= kLastRow; ++r)
        for (int c = kFirstColumn; c <= kLastColumn; ++c) {
            const std::int32_t code = s.Well.At(r, c);
            const CellLayers& layers = s.WellLayers.At(r, c);
            if (!WellCode(code)) return "bad code " + std::to_string(code);
            if (layers.count < 0 || layers.count > kMaxLayers) return "layer count";
            if ((code == kEmpty) != (layers.count == 0)) return "layers disagree with the well";
            for (int k = 0; k < layers.count; ++k) {
                const Layer& layer = layers.slot[k];
                if (layer.shape < kMinPieceCode || layer.shape > kMaxPieceCode)
                    return "layer shape";
                if (layer.color < 1 || layer.color > kColorCount) return "layer colour";
            }
        }
    if (s.LevelPieces < 0 || s.LevelPieces > kPiecesPerLevel) return "level pieces";
    if (!((s.Level >= 1 && s.Level <= kLastLevel) || s.Level == kWonLevel)) return "level";
    if (s.Score < 0 || s.Lines < 0) return "counters";
    if ((s.Running || s.Paused) && !s.NeedPiece) {
        if (!((s.CurColor >= 1 && s.CurColor <= kColorCount) || s.CurColor == kSpecialColor))
            return "piece colour";
        for (int i = 1; i <= 4; ++i)
            for (int j = 1; j <= 4; ++j) {
                if (s.CurPiece.at(i, j) == kEmpty) continue;
                const int r = s.PieceRow + i - 1;
                const int c = s.PieceCol + j - 1;
                if (r < kTopRow || r > kLastRow || c < kFirstColumn || c > kLastColumn)
                    return "piece outside the well at " + std::to_string(r) + "," +
                           std::to_string(c);
            }
    }
    return "";
}

}  // namespace zonky::test
