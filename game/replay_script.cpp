#include "game/replay_script.h"

#include <limits>

namespace zonky {
namespace {

constexpr std::size_t kMaxQuotedCharacters = 80;

struct NamedKey {
    std::string_view name;
    int code;
};
constexpr NamedKey kKeyNames[] = {{"left", kKeyLeft}, {"up", kKeyUp},       {"right", kKeyRight},
                                  {"down", kKeyDown}, {"space", kKeySpace}, {"escape", kKeyEscape}};

struct NamedStep {
    std::string_view name;
    ReplayStep::Kind kind;
};
// The commands without arguments, and those with one setting of 0 or 1.
constexpr NamedStep kBareSteps[] = {{"new", ReplayStep::New},
                                    {"stop", ReplayStep::Stop},
                                    {"pause", ReplayStep::Pause},
                                    {"minimise", ReplayStep::Minimise}};
constexpr NamedStep kSettingSteps[] = {{"rotate", ReplayStep::Rotate},
                                       {"sound", ReplayStep::Sound},
                                       {"language", ReplayStep::Language}};

void ExpectArgs(const std::vector<std::string_view>& words, std::size_t low, std::size_t high) {
    const std::size_t args = words.size() - 1;
    if (args < low || args > high)
        throw ScriptError("wrong number of arguments for '" + ShownInput(words[0]) + "'");
}

std::string_view After(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix ? line.substr(prefix.size())
                                                   : std::string_view();
}

}  // namespace

std::string ShownInput(std::string_view input) {
    std::string shown;
    std::size_t characters = 0;
    for (char c : input) {
        const auto byte = static_cast<unsigned char>(c);
        const bool continuation = (byte & 0xC0) == 0x80;  // inside a UTF-8 character
        if (!continuation && characters++ == kMaxQuotedCharacters) {
            shown += "...";
            break;
        }
        shown += byte < 0x20 || byte == 0x7F ? '?' : c;
    }
    return shown;
}

std::vector<std::string_view> SplitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) ++at;
        std::size_t end = at;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r')
            ++end;
        if (end > at) words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

int KeyCode(std::string_view word) {
    for (const NamedKey& named : kKeyNames)
        if (word == named.name) return named.code;
    return static_cast<int>(ScriptNumber(word, 0, 0xFFFF));
}

std::string KeyWord(int key) {
    for (const NamedKey& named : kKeyNames)
        if (key == named.code) return std::string(named.name);
    return std::to_string(key);
}

ReplayTally TallyOf(const GameState& state) {
    const bool won = state.Level > kLastLevel;
    // FNV-1a over the well's cells and the falling piece.
    std::uint32_t hash = 2166136261U;
    auto mix = [&hash](std::int32_t value) {
        hash = (hash ^ static_cast<std::uint32_t>(value)) * 16777619U;
    };
    for (int r = kTopRow; r <= kFloorRow; ++r)
        for (int c = kLeftWall; c <= kRightWall; ++c) mix(state.Well.At(r, c));
    if (!state.NeedPiece) {
        for (std::int32_t code : state.CurPiece.cells) mix(code);
        mix(state.PieceCol);
        mix(state.PieceRow);
    }
    return {ShownScore(state.Score), state.Lines, state.Level,
            won ? kLastLevel * kPiecesPerLevel
                : (state.Level - 1) * kPiecesPerLevel + state.LevelPieces,
            hash};
}

bool Matches(const ReplayTally& expected, const GameState& state) {
    ReplayTally found = TallyOf(state);
    if (!expected.well) found.well.reset();
    return found == expected;
}

std::string TallyWords(const ReplayTally& tally) {
    std::string words = "score " + std::to_string(tally.score) + " lines " +
                        std::to_string(tally.lines) + " level " + std::to_string(tally.level) +
                        " pieces " + std::to_string(tally.pieces);
    if (tally.well) words += " well " + std::to_string(*tally.well);
    return words;
}

ReplayTally ParseTally(const std::vector<std::string_view>& words, std::size_t first) {
    if (words.size() != first + 8 && words.size() != first + 10)
        throw ScriptError("expected score S lines L level V pieces P [well W]");
    ReplayTally tally;
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    for (std::size_t k = first; k < words.size(); k += 2) {
        const std::string_view name = words[k];
        const std::string_view expected[] = {"score", "lines", "level", "pieces", "well"};
        if (name != expected[(k - first) / 2])
            throw ScriptError("expected score S lines L level V pieces P [well W]");
        if (name == "well") {
            tally.well = static_cast<std::uint32_t>(
                ScriptNumber(words[k + 1], 0, std::numeric_limits<std::uint32_t>::max()));
            continue;
        }
        const std::int64_t value = ScriptNumber(words[k + 1], 0, kMax);
        if (name == "score") tally.score = value;
        if (name == "lines") tally.lines = static_cast<std::int32_t>(value);
        if (name == "level") tally.level = static_cast<std::int32_t>(value);
        if (name == "pieces") tally.pieces = static_cast<std::int32_t>(value);
    }
    return tally;
}

std::optional<ReplayStep> ParseStep(const std::vector<std::string_view>& words,
                                    std::vector<std::uint64_t>* draws, bool& known) {
    known = true;
    if (words.empty() || words[0].front() == '#') return std::nullopt;
    const std::string_view command = words[0];
    ReplayStep step;
    if (command == "draws") {
        for (std::size_t k = 1; k < words.size(); ++k) {
            const std::uint64_t value = ScriptNumberOf<std::uint64_t>(
                words[k], 0, std::numeric_limits<std::uint64_t>::max());
            if (draws) draws->push_back(value);
        }
        return std::nullopt;
    }
    for (const NamedStep& bare : kBareSteps)
        if (command == bare.name) {
            ExpectArgs(words, 0, 0);
            step.kind = bare.kind;
            return step;
        }
    for (const NamedStep& setting : kSettingSteps)
        if (command == setting.name) {
            ExpectArgs(words, 1, 1);
            step.kind = setting.kind;
            step.value = static_cast<std::int32_t>(ScriptNumber(words[1], 0, 1));
            return step;
        }
    if (command == "mode") {
        ExpectArgs(words, 1, 1);
        step.kind = ReplayStep::Mode;
        step.value = static_cast<std::int32_t>(ScriptNumber(words[1], kClassic, kZonky));
    } else if (command == "tick") {
        ExpectArgs(words, 0, 1);
        step.kind = ReplayStep::Tick;
        step.value = words.size() > 1 ? static_cast<std::int32_t>(ScriptNumber(
                                            words[1], 0, std::numeric_limits<std::int32_t>::max()))
                                      : 1;
    } else if (command == "key") {
        ExpectArgs(words, 1, 4);
        step.kind = ReplayStep::Key;
        step.value = KeyCode(words[1]);
        for (std::size_t k = 2; k < words.size(); ++k) {
            if (words[k] == "shift")
                step.modifiers.shift = true;
            else if (words[k] == "ctrl")
                step.modifiers.ctrl = true;
            else if (words[k] == "alt")
                step.modifiers.alt = true;
            else
                throw ScriptError("unknown modifier '" + ShownInput(words[k]) + "'");
        }
    } else if (command == "wait") {
        ExpectArgs(words, 1, 1);
        step.kind = ReplayStep::Wait;
        step.value = static_cast<std::int32_t>(ScriptNumber(words[1], 0, kMaxWaitMs));
    } else if (command == "check") {
        step.kind = ReplayStep::Check;
        step.tally = ParseTally(words, 1);
    } else {
        known = false;
        return std::nullopt;
    }
    return step;
}

std::string StepLine(const ReplayStep& step) {
    switch (step.kind) {
        case ReplayStep::Mode:
            return "mode " + std::to_string(step.value);
        case ReplayStep::Tick:
            return step.value == 1 ? "tick" : "tick " + std::to_string(step.value);
        case ReplayStep::Key: {
            std::string line = "key " + KeyWord(step.value);
            if (step.modifiers.shift) line += " shift";
            if (step.modifiers.ctrl) line += " ctrl";
            if (step.modifiers.alt) line += " alt";
            return line;
        }
        case ReplayStep::Wait:
            return "wait " + std::to_string(step.value);
        case ReplayStep::Check:
            return "check " + TallyWords(step.tally);
        default:
            break;
    }
    for (const NamedStep& bare : kBareSteps)
        if (step.kind == bare.kind) return std::string(bare.name);
    for (const NamedStep& setting : kSettingSteps)
        if (step.kind == setting.kind)
            return std::string(setting.name) + " " + std::to_string(step.value);
    return "";
}

std::string HeaderText(const ReplayHeader& h) {
    std::string text = std::string(kReplayMagic) + std::to_string(kReplayFormat) + "\n";
    text += "# program: " + h.program + "\n";
    text += "# mode: " + std::to_string(h.mode) + "\n";
    text += "# date: " + h.date + "\n";
    // A name is one line of the player's own words: no line end may break the header.
    std::string player;
    for (char c : h.player) player += c == '\n' || c == '\r' ? ' ' : c;
    if (!player.empty()) text += "# player: " + player + "\n";
    if (h.avatar >= 0) text += "# avatar: " + std::to_string(h.avatar) + "\n";
    text += "# result: " + TallyWords(h.result) + "\n";
    return text;
}

namespace {

// Reads the header's comment lines from the top of `text`; `used` ends after them.
std::optional<ReplayHeader> ReadHeader(std::string_view text, std::size_t& used, long& lines) {
    ReplayHeader h;
    bool result = false;
    used = 0;
    lines = 0;
    while (used < text.size()) {
        const std::size_t end = text.find('\n', used);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        if (stop - used > kMaxScriptLineBytes) return std::nullopt;
        const std::string_view line = text.substr(used, stop - used);
        if (line.empty() || line.front() != '#') break;
        used = end == std::string_view::npos ? text.size() : end + 1;
        ++lines;
        try {
            if (lines == 1) {
                const std::string_view version = After(line, kReplayMagic);
                if (version.empty()) return std::nullopt;
                h.format = static_cast<int>(ScriptNumber(version, 1, kReplayFormat));
            } else if (auto v = After(line, "# program: "); !v.empty()) {
                h.program = std::string(v);
            } else if (auto m = After(line, "# mode: "); !m.empty()) {
                h.mode = static_cast<int>(ScriptNumber(m, 1, 3));
            } else if (auto d = After(line, "# date: "); !d.empty()) {
                h.date = std::string(d);
            } else if (auto p = After(line, "# player: "); !p.empty()) {
                h.player = std::string(p);
            } else if (auto a = After(line, "# avatar: "); !a.empty()) {
                h.avatar = static_cast<int>(ScriptNumber(a, 0, 1000));
            } else if (auto r = After(line, "# result: "); !r.empty()) {
                h.result = ParseTally(SplitWords(r), 0);
                result = true;
            }
        } catch (const ScriptError&) {
            return std::nullopt;
        }
    }
    if (h.format == 0 || h.mode == 0 || !result) return std::nullopt;
    return h;
}

}  // namespace

std::optional<ReplayHeader> ParseReplayHeader(std::string_view text) {
    std::size_t used = 0;
    long lines = 0;
    return ReadHeader(text, used, lines);
}

ReplayParse ParseReplay(std::string_view text) {
    ReplayParse parse;
    if (text.size() > kMaxReplayBytes) {
        parse.problem = ReplayProblem::TooLarge;
        parse.error = "larger than any replay";
        return parse;
    }
    std::size_t at = 0;
    Replay replay;
    {
        std::optional<ReplayHeader> header = ReadHeader(text, at, parse.line);
        if (!header) {
            parse.line = 0;
            parse.problem = ReplayProblem::NotAReplay;
            parse.error = "not a Zonky Mosaro replay";
            return parse;
        }
        replay.header = std::move(*header);
    }
    std::int64_t ticks = 0;
    bool started = false;
    bool ended = false;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        ++parse.line;
        if (stop - at > kMaxScriptLineBytes) {
            parse.problem = ReplayProblem::LineTooLong;
            parse.error = "longer than " + std::to_string(kMaxScriptLineBytes) + " bytes";
            return parse;
        }
        const std::string_view line = text.substr(at, stop - at);
        ended = end != std::string_view::npos;
        at = ended ? end + 1 : text.size();
        try {
            bool known = true;
            const std::optional<ReplayStep> step =
                ParseStep(SplitWords(line), &replay.draws, known);
            if (!known) throw ScriptError("not a command of a replay");
            if (!step) continue;
            const bool call = step->kind < ReplayStep::Rotate;  // the kinds up to Minimise
            if (call && !started && step->kind != ReplayStep::Mode)
                throw ScriptError("the game must start with 'mode'");
            started = started || call;
            if (step->kind == ReplayStep::Tick) {
                ticks += step->value;
                if (ticks > kMaxReplayTicks) throw ScriptError("more ticks than any game has");
            }
            replay.steps.push_back(*step);
        } catch (const ScriptError& error) {
            parse.problem = ReplayProblem::BadLine;
            parse.error = error.what();
            return parse;
        }
    }
    // The recorder ends every file with its final check and a line end: without them the
    // file was cut short.
    if (!ended || replay.steps.empty() || replay.steps.back().kind != ReplayStep::Check) {
        parse.problem = ReplayProblem::Truncated;
        parse.error = "the file ends before the game does: it is truncated";
        return parse;
    }
    parse.replay = std::move(replay);
    return parse;
}

}  // namespace zonky
