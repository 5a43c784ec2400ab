// zonky-replay's interpreter: one script line at a time against the real engine.
#pragma once

#include <array>
#include <istream>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "game/game.h"
#include "game/random.h"
#include "game/replay_script.h"
#include "tools/replay/json_writer.h"
#include "tools/replay/replay_host.h"

namespace zonky {

// A malformed line, or a draw the queue could not answer. The message has no line number.
using ReplayError = ScriptError;

// The window picture behind the drawing commands, when the tool draws.
class ReplayDrawing {
  public:
    virtual ~ReplayDrawing() = default;
    virtual Host& host() = 0;
    // Invalidates the rectangle (x, y, w, h), or the whole window, and repaints what is pending.
    virtual void Paint(const std::optional<std::array<int, 4>>& rect) = 0;
    // Writes the window as a player sees it, surface and visible controls, as a PNG file:
    // a new one, or a regular file replaced in place; never through a link or into a pipe
    // or device. Returns what went wrong, empty when written.
    virtual std::string WritePng(const std::string& path) = 0;
    virtual std::array<int, 3> Pixel(int x, int y) = 0;
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

    void AttachDrawing(ReplayDrawing* drawing);

    Game& game() { return game_; }
    ReplayHost& host() { return host_; }
    ScriptedRandom& random() { return random_; }

  private:
    void ExecuteDrawing(const std::vector<std::string_view>& words, std::string& out);

    ReplayHost host_;
    ScriptedRandom random_;
    Game game_;
    ReplayDrawing* drawing_ = nullptr;
};

// The commands that prepare a game's state, as a script writes them: `set` (a well cell),
// `piece` (the falling piece) and `state` (a counter). Returns false for any other command;
// throws ReplayError for a malformed one. Shared with the test hook of the real window.
// With a host, `piece` also takes the old piece off the screen and draws the new one.
bool ExecuteStateCommand(GameState& state, const std::vector<std::string_view>& words,
                         Host* host = nullptr);

// The game's fields of `dump`, from "well" to "nextShown", into an open object.
void WriteGameState(JsonWriter& json, const GameState& state);

// The three best-players lists as `dump` writes them: entries and the newest position.
void WriteHiScores(JsonWriter& json, const HiScoreTable& table);

// Runs a whole script; returns the exit status (0, or 2 after writing "line N: ..." to err).
int RunScript(std::istream& in, std::ostream& out, std::ostream& err, ReplaySession& session);

// The command line "zonky-replay [SCRIPT]": the script from the file, else standard input.
int RunCommandLine(int argc, char** argv, ReplaySession& session);

}  // namespace zonky
