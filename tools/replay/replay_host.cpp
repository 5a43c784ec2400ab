#include "tools/replay/replay_host.h"

namespace zonky {

// The game-over sequence without its wait and dialogs: a qualifying result goes into the
// in-memory table with an empty name and the first avatar.
void ReplayHost::GameOver(const GameResult& result) {
    RecordingHost::GameOver(result);
    ShowGameOverImage(true);
    const std::int64_t shown = ShownScore(result.Score);
    if (!QualifiesForHiScore(hiScores, result.GameMode, shown)) return;
    const int position = InsertHiScore(hiScores, result.GameMode, shown, result.Level, "", 0);
    log.push_back("record " + std::to_string(position));
}

}  // namespace zonky
