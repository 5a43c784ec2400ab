#include "tools/replay/replay_host.h"

namespace zonky {

int ScriptedRandom::Draw(int n) {
    if (queue_.empty()) throw OutOfDraws{};
    const std::uint64_t value = queue_.front();
    queue_.pop_front();
    return n > 0 ? static_cast<int>(value % static_cast<std::uint64_t>(n)) : 0;
}

void ReplayHost::ShowPauseImage(bool visible) {
    events.emplace_back(visible ? "pause show" : "pause hide");
}

void ReplayHost::ShowGameOverImage(bool visible) {
    events.emplace_back(visible ? "gameover show" : "gameover hide");
}

void ReplayHost::PlaySoundEffect(SoundEffect sound, bool wait) {
    events.push_back("sound " + std::string(SoundName(sound)) + (wait ? " sync" : " async"));
}

// The game-over sequence without its wait and dialogs: a qualifying result goes into the
// in-memory table with an empty name and the first avatar.
void ReplayHost::GameOver(const GameResult& result) {
    events.emplace_back("gameover");
    ShowGameOverImage(true);
    const std::int64_t shown = ShownScore(result.Score);
    if (!QualifiesForHiScore(hiScores, result.GameMode, shown)) return;
    const int position = InsertHiScore(hiScores, result.GameMode, shown, result.Level, "", 0);
    events.push_back("record " + std::to_string(position));
}

}  // namespace zonky
