#include "shell/replay_player.h"

#include <QApplication>

#include <algorithm>

namespace zonky {

ReplayPlayer::ReplayPlayer(Game& game, ReplayRecorder& recorder, Window window)
    : game_(game), recorder_(recorder), window_(std::move(window)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Advance(); });
}

void ReplayPlayer::Start(Replay replay) {
    replay_ = std::move(replay);
    draws_ = ScriptedRandom();
    for (std::uint64_t value : replay_.draws) draws_.Append(value);
    next_ = 0;
    ticksLeft_ = 0;
    pace_ = 0;
    paused_ = false;
    saved_ = game_.settings;
    savedMode_ = game_.state.GameMode;
    recorder_.PlayFrom(&draws_);
    playing_ = true;
    window_.changed();
    if (ReachCall()) Advance();
}

bool ReplayPlayer::ReachCall() {
    while (next_ < replay_.steps.size()) {
        const ReplayStep& step = replay_.steps[next_];
        switch (step.kind) {
            case ReplayStep::Wait:
                pace_ = step.value;
                break;
            case ReplayStep::Rotate:
                game_.settings.RotateClockwise = static_cast<std::uint8_t>(step.value);
                break;
            case ReplayStep::Sound:
            case ReplayStep::Language:
                break;  // the watcher's own sound and language stay
            case ReplayStep::Check:
                if (!Matches(step.tally, game_.state)) {
                    Finish(End::Diverged);
                    return false;
                }
                break;
            case ReplayStep::Tick:
                if (ticksLeft_ == 0) ticksLeft_ = step.value;
                if (ticksLeft_ > 0) return true;
                break;  // "tick 0"
            default:
                return true;
        }
        ++next_;
    }
    Finish(End::Finished);
    return false;
}

void ReplayPlayer::RunCall(const ReplayStep& step) {
    switch (step.kind) {
        case ReplayStep::Mode:
            game_.ModeClick(step.value);
            break;
        case ReplayStep::New:
            game_.NewClick();
            break;
        case ReplayStep::Stop:
            game_.Exit1Click();
            break;
        case ReplayStep::Tick:
            game_.Timer1Timer();
            break;
        case ReplayStep::Key:
            game_.Edit1KeyDown(step.value, step.modifiers);
            break;
        case ReplayStep::Pause:
            game_.Pause1Click();
            break;
        case ReplayStep::Minimise:
            game_.HideMainForm();
            window_.repaintAll();
            break;
        default:
            break;
    }
}

void ReplayPlayer::Advance() {
    if (!playing_) return;
    // A modal dialog (About) holds the game still; the playback waits with it.
    if (QApplication::activeModalWidget() != nullptr) {
        timer_.start(100);
        return;
    }
    const ReplayStep step = replay_.steps[next_];
    if (step.kind == ReplayStep::Tick) {
        if (--ticksLeft_ == 0) ++next_;
    } else {
        ++next_;
    }
    bool outOfDraws = false;
    window_.run([&] {
        try {
            RunCall(step);
        } catch (const ScriptedRandom::OutOfDraws&) {
            outOfDraws = true;
        }
    });
    if (outOfDraws) {
        Finish(End::Diverged);
        return;
    }
    if (!playing_ || !ReachCall()) return;
    // The recorded game ended with its last call: one that ended here, with calls still to
    // come that do not start it again, is another game.
    const GameState& s = game_.state;
    const ReplayStep& coming = replay_.steps[next_];
    if (!s.Running && !s.Paused && coming.kind != ReplayStep::Mode) {
        Finish(End::Diverged);
        return;
    }
    Schedule();
}

void ReplayPlayer::Schedule() {
    if (paused_) return;
    timer_.start(std::min(pace_, kLongestWait) / Speed());
}

void ReplayPlayer::TogglePause() {
    if (!playing_) return;
    paused_ = !paused_;
    window_.showPause(paused_ || game_.state.Paused);
    if (paused_)
        timer_.stop();
    else
        Schedule();
    window_.changed();
}

void ReplayPlayer::Faster() {
    speed_ = std::min<int>(speed_ + 1, std::size(kSpeeds) - 1);
    Respeed();
}

void ReplayPlayer::Slower() {
    speed_ = std::max(speed_ - 1, 0);
    Respeed();
}

// The call waiting comes no later than it would have: keys held down never hold it back.
void ReplayPlayer::Respeed() {
    if (timer_.isActive())
        timer_.start(std::min(timer_.remainingTime(), std::min(pace_, kLongestWait) / Speed()));
    window_.changed();
}

void ReplayPlayer::Step() {
    if (!playing_ || !paused_) return;
    while (playing_) {
        const bool tick = replay_.steps[next_].kind == ReplayStep::Tick;
        Advance();
        if (tick) break;
    }
    if (playing_) window_.showPause(true);
}

void ReplayPlayer::PlayToEnd() {
    while (playing_) Advance();
}

void ReplayPlayer::Finish(End end) {
    if (!playing_) return;
    playing_ = false;
    paused_ = false;
    timer_.stop();
    recorder_.PlayFrom(nullptr);
    GameState& s = game_.state;
    // A game left part-way is abandoned without a result: it was never the watcher's.
    if (s.Running || s.Paused) {
        s.Running = false;
        s.Paused = false;
        window_.showPause(false);
    }
    game_.settings.RotateClockwise = saved_.RotateClockwise;
    s.GameMode = savedMode_;
    window_.changed();
    window_.ended(end);
}

}  // namespace zonky
