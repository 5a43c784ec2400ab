// A host without a window that writes each request the game makes as one short line, such
// as "save 7 -2" or "sound Upal async": the engine's tests read it, and zonky-replay reports
// the part a player notices besides the picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/ports.h"

namespace zonky {

class RecordingHost : public Host {
  public:
    // Events: only the overlays, sounds, minimising and the end of a game. Everything: the
    // drawing, the counters, the mode's check mark and the timer's interval as well.
    enum class Record { Events, Everything };
    explicit RecordingHost(Record record = Record::Everything) : record_(record) {}

    // Passes every request on to `next` as well, after recording it.
    void PassOnTo(Host* next) { next_ = next; }

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
    void CheckModeItem(int mode) override;
    void SetTimerInterval(int ms) override;
    void PlaySoundEffect(SoundEffect sound, bool wait) override;
    void GameOver(const GameResult& result) override;
    void MinimiseApplication() override;

    // The lines recorded since the last call.
    std::vector<std::string> Take();
    bool Logged(const std::string& line) const;

    std::vector<std::string> log;
    int interval = kStartTimerInterval;

  private:
    void Note(Record level, std::string line);

    Record record_;
    Host* next_ = nullptr;
};

}  // namespace zonky
