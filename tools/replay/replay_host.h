// The headless host of zonky-replay: no window, no sound, no timer. It records every request
// the game makes that a player would notice, and keeps the best-players table in memory.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/ports.h"
#include "records/hiscore_table.h"

namespace zonky {

// Draws from a queue of scripted values: each draw of n takes the next V and answers V mod n.
class ScriptedRandom : public Random {
  public:
    struct OutOfDraws {};
    void Append(std::uint64_t value) { queue_.push_back(value); }
    int Draw(int n) override;
    std::size_t Remaining() const { return queue_.size(); }

  private:
    std::deque<std::uint64_t> queue_;
};

class ReplayHost : public NullHost {
  public:
    // Drawing requests also go to `drawing` when the tool was built with the renderer.
    void AttachDrawing(Host* drawing) { drawing_ = drawing; }

    void DrawBackground() override;
    void RefreshSavedBackgrounds() override;
    void DrawPiece(const PieceGrid& grid, int col, int row, int color) override;
    void SavePieceBox(int col, int row) override;
    void RestorePieceBox(int col, int row) override;
    void DrawPreview(int color) override;
    void ShiftWellPictureDown(int removedRow) override;
    void RepaintEmptiedCell(int row, int col) override;
    void ShowCounter(Counter counter, std::int64_t value) override;
    void ShowPauseImage(bool visible) override;
    void ShowGameOverImage(bool visible) override;
    void SetTimerInterval(int ms) override { interval = ms; }
    void PlaySoundEffect(SoundEffect sound, bool wait) override;
    void GameOver(const GameResult& result) override;
    void MinimiseApplication() override { events.emplace_back("minimise"); }

    std::vector<std::string> events;
    int interval = kStartTimerInterval;
    bool timerEnabled = true;
    HiScoreTable hiScores;

  private:
    Host* drawing_ = nullptr;
};

}  // namespace zonky
