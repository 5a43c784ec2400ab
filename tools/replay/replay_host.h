// The headless host of zonky-replay: no window, no sound, no timer. It records every request
// the game makes that a player would notice, and keeps the best-players table in memory.
#pragma once

#include "game/recording_host.h"
#include "records/hiscore_table.h"

namespace zonky {

class ReplayHost : public RecordingHost {
  public:
    ReplayHost() : RecordingHost(Record::Events) {}

    // Drawing requests also go to `drawing` when the tool was built with the renderer.
    void AttachDrawing(Host* drawing) { PassOnTo(drawing); }

    void GameOver(const GameResult& result) override;

    HiScoreTable hiScores;
};

}  // namespace zonky
