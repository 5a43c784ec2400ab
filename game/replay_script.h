// A replay file: a zonky-replay script that starts a game and makes every call the player's
// game received, with the draws it consumed, under a commented header. Written by the
// recorder, read by the window's player; the lines mean what they mean to zonky-replay.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "game/game.h"

namespace zonky {

// A line the script language does not allow. The message names no line.
class ScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The first line of every replay; the number is the format's version.
inline constexpr std::string_view kReplayMagic = "# Zonky Mosaro replay ";
inline constexpr int kReplayFormat = 1;
// Bounds that keep a damaged or hostile file from running for days or filling memory.
inline constexpr std::size_t kMaxScriptLineBytes = 64 * 1024;
inline constexpr std::size_t kMaxReplayBytes = 16 * 1024 * 1024;
inline constexpr std::int64_t kMaxReplayTicks = 50'000'000;
inline constexpr int kMaxWaitMs = 3'600'000;

// A word of the input as an error message shows it: its first 80 characters, each control
// byte as "?", so a message stays one short line whatever the script holds.
std::string ShownInput(std::string_view input);

// A script line's words, split at blanks.
std::vector<std::string_view> SplitWords(std::string_view line);

// A decimal number in low..high, else ScriptError.
template <typename T>
T ScriptNumberOf(std::string_view word, T low, T high) {
    auto range = [&] {
        return "out of range: " + ShownInput(word) + " (expected " + std::to_string(low) + ".." +
               std::to_string(high) + ")";
    };
    T value{};
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error == std::errc::result_out_of_range) throw ScriptError(range());
    if (error != std::errc() || end != word.data() + word.size())
        throw ScriptError("not a number: '" + ShownInput(word) + "'");
    if (value < low || value > high) throw ScriptError(range());
    return value;
}
inline std::int64_t ScriptNumber(std::string_view word, std::int64_t low, std::int64_t high) {
    return ScriptNumberOf<std::int64_t>(word, low, high);
}

// "left", "up", ... or a decimal code; and the name a recorder writes for a code.
int KeyCode(std::string_view word);
std::string KeyWord(int key);

// What a replay promises about its game: checked after the level changes and at the end.
struct ReplayTally {
    std::int64_t score = 0;  // as shown and kept in the best-players table
    std::int32_t lines = 0;
    std::int32_t level = 0;
    std::int32_t pieces = 0;  // pieces dealt, the one that did not enter included
    // A fingerprint of the well and the falling piece: games that part can keep their
    // counters alike for long. Optional in a file.
    std::optional<std::uint32_t> well;
    bool operator==(const ReplayTally&) const = default;
};
ReplayTally TallyOf(const GameState& state);
// Whether the game stands where `expected` says, in what it says.
bool Matches(const ReplayTally& expected, const GameState& state);
// "score S lines L level V pieces P [well W]", as `check` and the header's result write it.
std::string TallyWords(const ReplayTally& tally);
// Parses the words after `check`.
ReplayTally ParseTally(const std::vector<std::string_view>& words, std::size_t first);

// One call of a replay, or a line that sets the pace or checks the game.
struct ReplayStep {
    enum Kind : std::uint8_t {
        Mode,
        New,
        Stop,
        Tick,
        Key,
        Pause,
        Minimise,
        Rotate,
        Sound,
        Language,
        Wait,  // the calls that follow came this many ms after the one before
        Check,
    };
    Kind kind = Tick;
    std::int32_t value = 0;  // mode, key code, setting, tick count, ms
    KeyModifiers modifiers;
    ReplayTally tally;  // Check
};

// Parses one line of the call vocabulary. Returns nothing for a blank line, a comment, a
// `draws` line (whose values go to `draws`) or a command outside that vocabulary
// (`known` then false); throws ScriptError for a malformed line of it.
std::optional<ReplayStep> ParseStep(const std::vector<std::string_view>& words,
                                    std::vector<std::uint64_t>* draws, bool& known);
// The line of a step, without its end.
std::string StepLine(const ReplayStep& step);

// The header: comment lines at the top of the file.
struct ReplayHeader {
    int format = 0;
    std::string program;
    int mode = 0;
    std::string date;
    std::string player;  // UTF-8, empty when nobody entered a name
    int avatar = -1;
    ReplayTally result;
};
std::string HeaderText(const ReplayHeader& header);

struct Replay {
    ReplayHeader header;
    std::vector<ReplayStep> steps;
    std::vector<std::uint64_t> draws;
};

// Why a file cannot be played, in words the window can give in either language.
enum class ReplayProblem : std::uint8_t {
    None,
    Missing,      // no such file
    NotAFile,     // a folder, a FIFO, a device
    Unreadable,   // the read failed
    TooLarge,     // over kMaxReplayBytes
    NotAReplay,   // no replay's header
    LineTooLong,  // a line over kMaxScriptLineBytes
    BadLine,      // a line the script language does not allow; `error` says how
    Truncated,    // no final check: the file was cut short
};

// A whole replay file, or the first reason it is none, with its line number (0 for the
// file as a whole) and, in `error`, the reason as zonky-replay prints it.
struct ReplayParse {
    std::optional<Replay> replay;
    long line = 0;
    ReplayProblem problem = ReplayProblem::None;
    std::string error;
};
ReplayParse ParseReplay(std::string_view text);

// Only the header, from the start of a file; nothing when it is not a replay's.
std::optional<ReplayHeader> ParseReplayHeader(std::string_view text);

}  // namespace zonky
