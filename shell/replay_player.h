// Plays a replay in the main window: the real game, picture and sounds, driven from the
// file's calls at the recorded pace times the chosen speed. The outcome depends on the
// order of the calls alone, so pausing, stepping and speed cannot change it.
#pragma once

#include <QTimer>

#include <chrono>
#include <functional>

#include "game/game.h"
#include "game/random.h"
#include "game/replay_recorder.h"
#include "game/replay_script.h"

namespace zonky {

// The program's clock for the recorder's times.
class SteadyClock : public Clock {
  public:
    std::int64_t NowMs() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

class ReplayPlayer {
  public:
    enum class End { Finished, Diverged, Stopped };
    static constexpr int kSpeeds[] = {1, 2, 4, 8};
    // A long idle in the recording (a dialog open) is not waited out in full.
    static constexpr int kLongestWait = 3000;

    struct Window {
        // Runs one call into the game as the window runs its own (and shows its drawing).
        std::function<void(const std::function<void()>&)> run;
        // The pause picture, shown while the playback stands still.
        std::function<void(bool)> showPause;
        // The whole picture repainted, as when the recorded player restored the window
        // after minimising it; the watcher's window stays as it is.
        std::function<void()> repaintAll;
        // After every change of speed or pause, and at the end.
        std::function<void()> changed;
        std::function<void(End)> ended;
    };

    ReplayPlayer(Game& game, ReplayRecorder& recorder, Window window);

    // Starts the game of `replay`. Nothing may run in the game.
    void Start(Replay replay);
    bool Playing() const { return playing_; }
    bool Paused() const { return paused_; }
    int Speed() const { return kSpeeds[speed_]; }
    const ReplayHeader& Header() const { return replay_.header; }

    void TogglePause();
    void Faster();
    void Slower();
    // While paused: every call up to and including the next tick.
    void Step();
    // Ends the playback where it stands; the window keeps the picture and no game runs.
    void Stop() { Finish(End::Stopped); }
    // Plays every remaining call at once (tests).
    void PlayToEnd();

  private:
    // Runs the next call, then waits the pace for the one after it.
    void Advance();
    // Runs steps up to the next call (settings, pace, checks); false when it ended.
    bool ReachCall();
    void RunCall(const ReplayStep& step);
    void Schedule();
    void Respeed();
    void Finish(End end);

    Game& game_;
    ReplayRecorder& recorder_;
    Window window_;
    QTimer timer_;
    Replay replay_;
    ScriptedRandom draws_;
    std::size_t next_ = 0;
    std::int32_t ticksLeft_ = 0;  // of the tick run at next_
    int pace_ = 0;
    int speed_ = 0;
    bool playing_ = false;
    bool paused_ = false;
    Settings saved_;
    std::int32_t savedMode_ = kDedadidavaza;
};

}  // namespace zonky
