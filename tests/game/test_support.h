// Test doubles for the engine: a host that logs every request and a scripted Random.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/ports.h"

namespace zonky::test {

class QueueRandom : public Random {
  public:
    QueueRandom() = default;
    QueueRandom(std::initializer_list<int> values) : queue_(values) {}
    void Add(std::initializer_list<int> values) { queue_.insert(queue_.end(), values); }
    void Add(int value) { queue_.push_back(value); }
    int Draw(int n) override {
        if (queue_.empty()) throw std::runtime_error("out of draws");
        const int v = queue_.front();
        queue_.pop_front();
        sizes.push_back(n);
        return v % n;
    }
    std::size_t Remaining() const { return queue_.size(); }
    std::vector<int> sizes;  // the n of every draw, in order

  private:
    std::deque<int> queue_;
};

// Logs each host request as one short line, e.g. "save 7 -2" or "sound Upal async".
class LogHost : public Host {
  public:
    void DrawBackground() override { log.push_back("background"); }
    void RefreshSavedBackgrounds() override { log.push_back("refresh"); }
    void DrawPiece(const PieceGrid&, int col, int row, int color) override {
        log.push_back("draw " + std::to_string(col) + " " + std::to_string(row) + " " +
                      std::to_string(color));
    }
    void SavePieceBox(int col, int row) override {
        log.push_back("save " + std::to_string(col) + " " + std::to_string(row));
    }
    void RestorePieceBox(int col, int row) override {
        log.push_back("restore " + std::to_string(col) + " " + std::to_string(row));
    }
    void DrawPreview(int color) override { log.push_back("preview " + std::to_string(color)); }
    void ShiftWellPictureDown(int row) override { log.push_back("shift " + std::to_string(row)); }
    void RepaintEmptiedCell(int row, int col) override {
        log.push_back("empty " + std::to_string(row) + " " + std::to_string(col));
    }
    void ShowCounter(Counter counter, std::int64_t value) override {
        static constexpr const char* kNames[] = {"level", "lines", "score"};
        log.push_back(std::string(kNames[static_cast<int>(counter)]) + " " + std::to_string(value));
    }
    void ShowPauseImage(bool visible) override {
        log.push_back(visible ? "pause show" : "pause hide");
    }
    void ShowGameOverImage(bool visible) override {
        log.push_back(visible ? "gameover show" : "gameover hide");
    }
    void CheckModeItem(int mode) override { log.push_back("check " + std::to_string(mode)); }
    void SetTimerInterval(int ms) override {
        interval = ms;
        log.push_back("interval " + std::to_string(ms));
    }
    void PlaySoundEffect(SoundEffect sound, bool wait) override {
        log.push_back("sound " + std::string(SoundName(sound)) + (wait ? " sync" : " async"));
    }
    void GameOver(const GameResult& result) override {
        results.push_back(result);
        log.push_back("gameover");
        if (onGameOver) onGameOver();
    }
    void MinimiseApplication() override { log.push_back("minimise"); }

    // The lines logged since the last call.
    std::vector<std::string> Take() {
        std::vector<std::string> taken;
        taken.swap(log);
        return taken;
    }
    bool Logged(const std::string& line) const {
        for (const std::string& l : log)
            if (l == line) return true;
        return false;
    }

    std::vector<std::string> log;
    std::vector<GameResult> results;
    std::function<void()> onGameOver;  // runs inside the game-over sequence
    int interval = kStartTimerInterval;
};

// Builds a grid from 16 codes, row by row.
inline PieceGrid Grid(std::initializer_list<std::int32_t> codes) {
    PieceGrid grid;
    grid.cells.fill(kEmpty);
    int k = 0;
    for (std::int32_t c : codes) grid.cells[k++] = c;
    return grid;
}

// A grid with one cell at (1, 1).
inline PieceGrid Single(std::int32_t code) {
    PieceGrid grid;
    grid.cells.fill(kEmpty);
    grid.at(1, 1) = code;
    return grid;
}

inline constexpr std::int32_t E = kEmpty;

// A game with a fresh well and a running game, no piece in play yet.
struct Fixture {
    LogHost host;
    QueueRandom random;
    Game game{host, random};

    Fixture() { game.settings = Settings{}; }

    void StartGame(int mode = kDedadidavaza) {
        game.state.GameMode = mode;
        game.NewGame();
        host.Take();
    }
    // Puts a falling piece into a running game directly.
    void Place(const PieceGrid& piece, int col, int row, int color = 1) {
        GameState& s = game.state;
        s.CurPiece = piece;
        s.CurColor = color;
        s.PieceCol = col;
        s.PieceRow = row;
        s.NeedPiece = false;
    }
    void FillRow(int row, int gapColumn = 0) {
        for (int c = kFirstColumn; c <= kLastColumn; ++c)
            if (c != gapColumn) game.state.Well.Set(row, c, kFull);
    }
};

}  // namespace zonky::test

namespace zonky::test {

// Every code a well cell may hold, and every piece cell code.
inline const std::vector<std::int32_t> kWellCodes{250, -6, -5, -4, -3, -2, -1, 0,
                                                  1,   2,  3,  4,  5,  6,  7,  8};
inline const std::vector<std::int32_t> kPieceCodes{-6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6};

}  // namespace zonky::test
