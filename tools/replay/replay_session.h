// zonky-replay's interpreter: one script line at a time against the real engine.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "game/game.h"
#include "tools/replay/replay_host.h"

namespace zonky {

// A malformed line, or a draw the queue could not answer. The message has no line number.
class ReplayError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class ReplaySession {
  public:
    ReplaySession();
    ReplaySession(const ReplaySession&) = delete;
    ReplaySession& operator=(const ReplaySession&) = delete;

    // Runs one line. A `dump` appends its JSON line (with "\n") to `out`.
    void Execute(std::string_view line, std::string& out);

    // The JSON line of `dump`, without its line end; clears the recorded events.
    std::string Dump();

    Game& game() { return game_; }
    ReplayHost& host() { return host_; }
    ScriptedRandom& random() { return random_; }

  private:
    ReplayHost host_;
    ScriptedRandom random_;
    Game game_;
};

}  // namespace zonky
