// Records each game as it is played: every call into `Game` in its order, with its time
// since the call before, and every draw the game consumes. It stands between the game and
// its generator, so the draws it hands on are exactly the ones it writes; the outcome of a
// replay depends on the order alone, the times only set its pace.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/replay_script.h"

namespace zonky {

// Milliseconds on a clock that never goes back. The program reads a monotonic clock;
// tests and benchmarks script it.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::int64_t NowMs() = 0;
};

class ReplayRecorder : public GameObserver, public Random {
  public:
    ReplayRecorder(Random& source, Clock& clock);
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    // Starts observing `game`, whose generator must be this recorder.
    void Attach(Game& game);

    // While a replay plays, its draws come from `source` and nothing is recorded; null
    // gives the draws back to the program's generator and recording resumes.
    void PlayFrom(Random* source);

    int Draw(int n) override;
    void Called(GameCall call, int value, KeyModifiers modifiers) override;
    void GameStarted() override;
    void GameEnded() override;

    // A game has ended since the last Take and its replay waits to be written.
    bool Finished() const { return finished_; }
    // The finished game's file: the header's date, program and player are the caller's.
    // Clears Finished.
    std::string Take(ReplayHeader header);
    // The mode and result of the finished game.
    const ReplayHeader& FinishedHeader() const { return finishedHeader_; }

  private:
    struct Event {
        ReplayStep step;
        std::uint32_t drawsEnd = 0;  // the draws before this event's line end here
    };
    void Push(const ReplayStep& step);
    void Pace(std::int64_t now);
    void NoteSettings();
    void NoteLevel();

    Random& system_;
    Random* source_;
    Clock& clock_;
    Game* game_ = nullptr;
    bool recording_ = false;
    bool finished_ = false;
    std::vector<Event> events_;
    std::vector<std::uint64_t> draws_;
    std::int64_t lastCall_ = 0;
    std::int32_t pace_ = -1;
    std::int32_t level_ = 0;
    Settings noted_;
    ReplayHeader finishedHeader_;
};

}  // namespace zonky
