#include "game/replay_recorder.h"

#include <algorithm>
#include <cstdlib>

namespace zonky {
namespace {

// Room for a long game, reserved once, so steady play never grows the lists.
constexpr std::size_t kReservedEvents = 16384;
constexpr std::size_t kReservedDraws = 4096;
// Draws written on one line at most.
constexpr std::size_t kDrawsPerLine = 64;

// Timer jitter of a few ms does not start a new pace.
bool SamePace(std::int64_t a, std::int64_t b) {
    return std::llabs(a - b) <= std::max<std::int64_t>(2, b / 16);
}

}  // namespace

ReplayRecorder::ReplayRecorder(Random& source, Clock& clock)
    : system_(source), source_(&source), clock_(clock) {
    events_.reserve(kReservedEvents);
    draws_.reserve(kReservedDraws);
}

void ReplayRecorder::Attach(Game& game) {
    game_ = &game;
    game.SetObserver(this);
}

void ReplayRecorder::PlayFrom(Random* source) {
    source_ = source ? source : &system_;
    if (source) recording_ = false;
}

int ReplayRecorder::Draw(int n) {
    const int value = source_->Draw(n);
    if (recording_) {
        draws_.push_back(static_cast<std::uint64_t>(value));
        if (!events_.empty()) events_.back().drawsEnd = static_cast<std::uint32_t>(draws_.size());
    }
    return value;
}

void ReplayRecorder::Push(const ReplayStep& step) {
    events_.push_back({step, static_cast<std::uint32_t>(draws_.size())});
}

void ReplayRecorder::Pace(std::int64_t now) {
    const std::int64_t since = std::clamp<std::int64_t>(now - lastCall_, 0, kMaxWaitMs);
    lastCall_ = now;
    if (pace_ >= 0 && SamePace(since, pace_)) return;
    pace_ = static_cast<std::int32_t>(since);
    ReplayStep wait;
    wait.kind = ReplayStep::Wait;
    wait.value = pace_;
    Push(wait);
}

// The settings that reach the game may change between any two calls (Options).
void ReplayRecorder::NoteSettings() {
    const Settings& now = game_->settings;
    const std::pair<std::uint8_t Settings::*, ReplayStep::Kind> watched[] = {
        {&Settings::RotateClockwise, ReplayStep::Rotate},
        {&Settings::SoundOn, ReplayStep::Sound},
        {&Settings::UiLanguage, ReplayStep::Language}};
    for (const auto& [field, kind] : watched) {
        if (now.*field == noted_.*field) continue;
        ReplayStep step;
        step.kind = kind;
        step.value = now.*field;
        Push(step);
    }
    noted_ = now;
}

// A check after every level change lets a player of the file stop where a game diverges.
void ReplayRecorder::NoteLevel() {
    if (game_->state.Level == level_) return;
    level_ = game_->state.Level;
    ReplayStep check;
    check.kind = ReplayStep::Check;
    check.tally = TallyOf(game_->state);
    Push(check);
}

void ReplayRecorder::Called(GameCall call, int value, KeyModifiers modifiers) {
    const std::int64_t now = clock_.NowMs();
    if (!recording_ || !game_) {
        lastCall_ = now;
        return;
    }
    NoteLevel();
    NoteSettings();
    Pace(now);
    ReplayStep step;
    switch (call) {
        case GameCall::Tick:
            if (!events_.empty() && events_.back().step.kind == ReplayStep::Tick) {
                ++events_.back().step.value;  // a run of ticks is one line
                return;
            }
            step.kind = ReplayStep::Tick;
            step.value = 1;
            break;
        case GameCall::Key:
            step.kind = ReplayStep::Key;
            step.value = value;
            step.modifiers = modifiers;
            break;
        case GameCall::Pause:
            step.kind = ReplayStep::Pause;
            break;
        case GameCall::Minimise:
            step.kind = ReplayStep::Minimise;
            break;
        default:
            // New, a mode, Exit and closing all end the game here; only the end is this game's.
            step.kind = ReplayStep::Stop;
            break;
    }
    Push(step);
}

void ReplayRecorder::GameStarted() {
    if (!game_ || source_ != &system_) return;
    events_.clear();
    draws_.clear();
    recording_ = true;
    finished_ = false;
    const GameState& s = game_->state;
    // zonky-replay starts from the settings "0110"; a fresh game starts from here.
    noted_ = Settings{};
    NoteSettings();
    ReplayStep mode;
    mode.kind = ReplayStep::Mode;
    mode.value = s.GameMode;
    // A fast drop cut short by New carries into the next game: the script gives its new
    // game the same start by a drop in a game it then replaces.
    if (s.Dropping) {
        Push(mode);
        ReplayStep space;
        space.kind = ReplayStep::Key;
        space.value = kKeySpace;
        Push(space);
    }
    Push(mode);
    level_ = s.Level;
    pace_ = -1;
}

void ReplayRecorder::GameEnded() {
    if (!recording_ || !game_) return;
    recording_ = false;
    NoteLevel();
    ReplayStep check;
    check.kind = ReplayStep::Check;
    check.tally = TallyOf(game_->state);
    if (events_.back().step.kind != ReplayStep::Check) Push(check);
    finishedHeader_ = ReplayHeader{};
    finishedHeader_.format = kReplayFormat;
    finishedHeader_.mode = game_->state.GameMode;
    finishedHeader_.result = check.tally;
    finished_ = true;
}

std::string ReplayRecorder::Take(ReplayHeader header) {
    finished_ = false;
    header.format = kReplayFormat;
    header.mode = finishedHeader_.mode;
    header.result = finishedHeader_.result;
    std::string text = HeaderText(header);
    std::size_t drawn = 0;
    for (const Event& event : events_) {
        while (drawn < event.drawsEnd) {
            text += "draws";
            for (std::size_t k = 0; k < kDrawsPerLine && drawn < event.drawsEnd; ++k, ++drawn)
                text += " " + std::to_string(draws_[drawn]);
            text += '\n';
        }
        text += StepLine(event.step);
        text += '\n';
    }
    return text;
}

}  // namespace zonky
