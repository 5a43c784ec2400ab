// What the engine needs from outside: random draws and a host window.
#pragma once

#include <cstdint>
#include <string_view>

#include "game/game_state.h"

namespace zonky {

// A uniform draw from 0..n-1. The program seeds its generator once; tests script the draws.
class Random {
  public:
    virtual ~Random() = default;
    virtual int Draw(int n) = 0;
};

enum class SoundEffect { Upal, Fire, Space, LevelFin };

constexpr std::string_view SoundName(SoundEffect sound) {
    switch (sound) {
        case SoundEffect::Upal:
            return "Upal";
        case SoundEffect::Fire:
            return "Fire";
        case SoundEffect::Space:
            return "Space";
        case SoundEffect::LevelFin:
            return "LevelFin";
    }
    return "";
}

enum class Counter { Level, Lines, Score };

// The game that ended, as it stood when the game-over sequence began.
struct GameResult {
    std::int32_t Score = 0;
    std::int32_t Level = 0;
    std::int32_t GameMode = 0;
};

// Everything the game asks of its window. Calls arrive in the order the rules make them.
class Host {
  public:
    virtual ~Host() = default;

    // Window picture.
    virtual void DrawBackground() = 0;           // BkGround at (0, 0)
    virtual void RefreshSavedBackgrounds() = 0;  // WellRowStrip and PreviewBackground
    virtual void DrawPiece(const PieceGrid& grid, int col, int row, int color) = 0;
    virtual void SavePieceBox(int col, int row) = 0;
    virtual void RestorePieceBox(int col, int row) = 0;
    virtual void DrawPreview(int color) = 0;
    virtual void ShiftWellPictureDown(int removedRow) = 0;  // rows 1..removedRow-1 down one
    virtual void RepaintEmptiedCell(int row, int col) = 0;  // from WellRowStrip

    // Side panel and overlays.
    virtual void ShowCounter(Counter counter, std::int64_t value) = 0;
    virtual void ShowPauseImage(bool visible) = 0;
    virtual void ShowGameOverImage(bool visible) = 0;
    virtual void CheckModeItem(int mode) = 0;

    // Timer, sound, game end, window.
    virtual void SetTimerInterval(int ms) = 0;
    virtual void PlaySoundEffect(SoundEffect sound, bool wait) = 0;
    virtual void GameOver(const GameResult& result) = 0;
    virtual void MinimiseApplication() = 0;
};

// A host that does nothing: a base for test doubles and benchmarks.
class NullHost : public Host {
  public:
    void DrawBackground() override {}
    void RefreshSavedBackgrounds() override {}
    void DrawPiece(const PieceGrid&, int, int, int) override {}
    void SavePieceBox(int, int) override {}
    void RestorePieceBox(int, int) override {}
    void DrawPreview(int) override {}
    void ShiftWellPictureDown(int) override {}
    void RepaintEmptiedCell(int, int) override {}
    void ShowCounter(Counter, std::int64_t) override {}
    void ShowPauseImage(bool) override {}
    void ShowGameOverImage(bool) override {}
    void CheckModeItem(int) override {}
    void SetTimerInterval(int) override {}
    void PlaySoundEffect(SoundEffect, bool) override {}
    void GameOver(const GameResult&) override {}
    void MinimiseApplication() override {}
};

}  // namespace zonky
