// Landing, merging of cell parts, the special piece's blast, row removal and scoring.
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "game/game.h"
#include "game/movement.h"
#include "game/pieces.h"

namespace zonky {
namespace {

// Points for a landed piece by its colour 1..7.
constexpr std::array<std::int32_t, kColorCount> LandingPoints{5, 10, 17, 15, 19, 18, 21};
constexpr std::int32_t kRowPoints = 100;

std::int32_t LandingPointsFor(std::int32_t color) {
    return color >= 1 && color <= kColorCount ? LandingPoints[color - 1] : 0;
}

std::int32_t ClampToInt32(std::int64_t value) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < kMin ? kMin : value > kMax ? kMax : value);
}

bool InPlayfield(int row, int col) {
    return row >= kTopRow && row <= kLastRow && col >= kFirstColumn && col <= kLastColumn;
}

bool InVisibleWell(int row, int col) {
    return row >= kFirstVisibleRow && row <= kLastRow && col >= kFirstColumn && col <= kLastColumn;
}

bool RowIsFull(const WellGrid& well, int row) {
    for (int c = kFirstColumn; c <= kLastColumn; ++c)
        if (well.At(row, c) != kFull) return false;
    return true;
}

}  // namespace

std::int64_t RoundHalfEven(long double value) {
    // nearbyint in the default rounding mode rounds halves to the even neighbour.
    constexpr long double kLimit = 9.0e18L;
    if (!(value > -kLimit)) return static_cast<std::int64_t>(-kLimit);
    if (!(value < kLimit)) return static_cast<std::int64_t>(kLimit);
    return static_cast<std::int64_t>(std::nearbyint(value));
}

std::int64_t ShownScore(std::int32_t score) {
    return RoundHalfEven(static_cast<long double>(score) * 1.5L);
}

std::int32_t LevelPoints(std::int32_t level, std::int32_t points) {
    const long double root = std::sqrt(static_cast<long double>(level > 0 ? level : 0));
    return ClampToInt32(RoundHalfEven(root * static_cast<long double>(points)));
}

void Game::AddScore(std::int32_t points) {
    state.Score = ClampToInt32(static_cast<std::int64_t>(state.Score) + points);
}

void Game::FallStep() {
    GameState& s = state;
    if (s.NeedPiece) return;
    if (PieceFits(s.Well, s.CurPiece, s.PieceCol, s.PieceRow, 0)) {
        host_.RestorePieceBox(s.PieceCol, s.PieceRow);
        s.PieceRow += 1;
        host_.SavePieceBox(s.PieceCol, s.PieceRow);
        host_.DrawPiece(s.CurPiece, s.PieceCol, s.PieceRow, s.CurColor);
        return;
    }

    // The piece lands where it was last drawn; its picture becomes part of the well's.
    s.Dropping = false;
    s.NeedPiece = true;
    FixPiece(s.CurPiece, s.PieceCol, s.PieceRow);
    if (s.CurColor < kSpecialColor) {
        AddScore(LevelPoints(s.Level, LandingPointsFor(s.CurColor)));
        ShowScore();
    }
    ClearFullRows();
    // Ends a fast drop; the same interval as before keeps the ticks' rhythm.
    host_.SetTimerInterval(LevelInterval(s.Level));
}

void Game::FixPiece(const PieceGrid& piece, int col, int row) {
    GameState& s = state;
    PlaySound(SoundEffect::Upal);

    if (piece.at(1, 1) == kSpecialCell) {
        // The blast clears the visible 3 x 3 block around the special cell.
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) {
                const int r = row + dr;
                const int c = col + dc;
                if (!InVisibleWell(r, c)) continue;
                s.Well.Set(r, c, kEmpty);
                s.WellLayers.Find(r, c)->count = 0;
                host_.RepaintEmptiedCell(r, c);
            }
        return;
    }

    EveryCell(piece, col, row, [&](std::int32_t p, int r, int c) {
        // Walls and floor keep their 0 whatever lands against them.
        if (!InPlayfield(r, c)) return true;
        const std::int32_t resting = s.Well.At(r, c);
        s.Well.Set(r, c, resting == kEmpty ? p : MergeCodes(p, resting));
        // A cell draws at most eight parts; a further part still merges above.
        CellLayers& layers = *s.WellLayers.Find(r, c);
        if (layers.count >= 0 && layers.count < kMaxLayers) {
            layers.slot[layers.count] = {p, s.CurColor};
            layers.count += 1;
        }
        return true;
    });
}

void Game::ClearFullRows() {
    GameState& s = state;
    std::array<int, kLastRow> full{};
    int n = 0;
    for (int r = kLastRow; r >= kFirstVisibleRow; --r)
        if (RowIsFull(s.Well, r)) full[n++] = r;
    if (n == 0) return;

    PlaySound(SoundEffect::Fire);
    s.Lines = ClampToInt32(static_cast<std::int64_t>(s.Lines) + n);
    ShowLines();
    AddScore(LevelPoints(s.Level, n * kRowPoints));
    ShowScore();

    // The highest row goes first, so the lower collected rows keep their numbers.
    for (int k = n - 1; k >= 0; --k) {
        const int removed = full[k];
        host_.ShiftWellPictureDown(removed);
        for (int rr = removed; rr >= 2; --rr)
            for (int c = kLeftWall; c <= kRightWall; ++c) {
                s.Well.Set(rr, c, s.Well.At(rr - 1, c));
                *s.WellLayers.Find(rr, c) = s.WellLayers.At(rr - 1, c);
            }
        for (int c = kFirstColumn; c <= kLastColumn; ++c) {
            s.Well.Set(kFirstVisibleRow, c, kEmpty);
            s.WellLayers.Find(kFirstVisibleRow, c)->count = 0;
        }
    }
}

void Game::ClearWell() {
    WellGrid& well = state.Well;
    for (int r = kTopRow; r <= kFloorRow; ++r)
        for (int c = kLeftWall; c <= kRightWall; ++c) well.Set(r, c, kEmpty);
    for (int r = kTopRow; r <= kFloorRow; ++r) {
        well.Set(r, kLeftWall, kFull);
        well.Set(r, kRightWall, kFull);
    }
    for (int c = kLeftWall; c <= kRightWall; ++c) well.Set(kFloorRow, c, kFull);
    state.WellLayers.Clear();
}

void Game::ShowLevel() {
    host_.ShowCounter(Counter::Level, state.Level);
}
void Game::ShowLines() {
    host_.ShowCounter(Counter::Lines, state.Lines);
}
void Game::ShowScore() {
    host_.ShowCounter(Counter::Score, ShownScore(state.Score));
}

}  // namespace zonky
