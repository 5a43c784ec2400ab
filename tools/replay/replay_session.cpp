#include "tools/replay/replay_session.h"

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <vector>

#include "records/name_codec.h"
#include "tools/replay/json_writer.h"

namespace zonky {
namespace {

// The window's client area, for the pixel command.
constexpr int kWindowPixelsWide = 309;
constexpr int kWindowPixelsHigh = 380;

// A longer script line is taken for a file that is no script.
constexpr std::size_t kMaxLineBytes = kMaxScriptLineBytes;

// The files the game keeps its records and settings in; the tool never writes them.
constexpr std::string_view kGameFileNames[] = {"ZonkyMos.dat", "ZonkyMos.Ini"};

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(a[k])) !=
            std::tolower(static_cast<unsigned char>(b[k])))
            return false;
    return true;
}

bool IsGameFile(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    for (std::string_view game : kGameFileNames)
        if (SameNameIgnoringCase(name, game)) return true;
    return false;
}

}  // namespace

namespace {

template <typename T>
T Number(std::string_view word, T low, T high) {
    return ScriptNumberOf<T>(word, low, high);
}

std::int32_t Int32(std::string_view word) {
    return Number<std::int32_t>(word, std::numeric_limits<std::int32_t>::min(),
                                std::numeric_limits<std::int32_t>::max());
}

void ExpectArgs(const std::vector<std::string_view>& words, std::size_t low, std::size_t high) {
    const std::size_t args = words.size() - 1;
    if (args < low || args > high)
        throw ReplayError("wrong number of arguments for '" + ShownInput(words[0]) + "'");
}

bool ValidPieceCode(std::int32_t code) {
    return code == kEmpty || code == kSpecialCell ||
           (code >= kMinPieceCode && code <= kMaxPieceCode);
}

bool ValidColor(std::int32_t color) {
    return (color >= 1 && color <= kColorCount) || color == kSpecialColor;
}

void SetCell(GameState& state, int row, int col, std::int32_t code, std::int32_t color) {
    state.Well.Set(row, col, code);
    CellLayers& layers = *state.WellLayers.Find(row, col);
    layers = CellLayers{};
    if (code == kRL) {
        layers.count = 2;
        layers.slot[0] = {kR, color};
        layers.slot[1] = {kL, color};
    } else if (code == kTB) {
        layers.count = 2;
        layers.slot[0] = {kT, color};
        layers.slot[1] = {kB, color};
    } else if (code != kEmpty) {
        layers.count = 1;
        layers.slot[0] = {code, color};
    }
}

void WriteGrid(JsonWriter& json, const PieceGrid& grid) {
    json.BeginArray();
    for (std::int32_t code : grid.cells) json.Int(code);
    json.EndArray();
}

}  // namespace

bool ExecuteStateCommand(GameState& s, const std::vector<std::string_view>& words, Host* host) {
    if (words.empty()) return false;
    const std::string_view command = words[0];
    if (command == "set") {
        ExpectArgs(words, 3, 4);
        const int row = Number<int>(words[1], kTopRow, kLastRow);
        const int col = Number<int>(words[2], kFirstColumn, kLastColumn);
        const std::int32_t code = Int32(words[3]);
        if (code != kEmpty && code != kRL && code != kTB &&
            (code < kMinPieceCode || code > kMaxPieceCode))
            throw ReplayError("not a well cell code: " + ShownInput(words[3]));
        const std::int32_t color =
            words.size() > 4 ? Number<std::int32_t>(words[4], 1, kColorCount) : 1;
        SetCell(s, row, col, code, color);
    } else if (command == "piece") {
        ExpectArgs(words, 19, 19);
        if (!s.Running && !s.Paused) throw ReplayError("'piece' needs a running game");
        PieceGrid grid;
        for (int k = 0; k < 16; ++k) {
            grid.cells[k] = Int32(words[1 + k]);
            if (!ValidPieceCode(grid.cells[k]))
                throw ReplayError("not a piece cell code: " + ShownInput(words[1 + k]));
        }
        const std::int32_t color = Int32(words[17]);
        if (!ValidColor(color)) throw ReplayError("not a piece colour: " + ShownInput(words[17]));
        const int col = Int32(words[18]);
        const int row = Int32(words[19]);
        // Moved like any falling piece, so the picture keeps up: the old piece comes off the
        // screen and the new one goes on.
        if (host && !s.NeedPiece) host->RestorePieceBox(s.PieceCol, s.PieceRow);
        s.CurPiece = grid;
        s.CurColor = color;
        s.PieceCol = col;
        s.PieceRow = row;
        s.NeedPiece = false;
        if (host) {
            host->SavePieceBox(col, row);
            host->DrawPiece(grid, col, row, color);
        }
    } else if (command == "state") {
        ExpectArgs(words, 2, 2);
        const std::int32_t value = Int32(words[2]);
        if (words[1] == "level")
            s.Level = value;
        else if (words[1] == "levelPieces")
            s.LevelPieces = value;
        else if (words[1] == "score")
            s.Score = value;
        else if (words[1] == "lines")
            s.Lines = value;
        else
            throw ReplayError("unknown counter '" + ShownInput(words[1]) + "'");
    } else {
        return false;
    }
    return true;
}

ReplaySession::ReplaySession() : game_(host_, random_) {
    // As after start-up and first show with no files: Dedadidavaza, settings "0110".
    game_.settings = Settings{};
}

void ReplaySession::AttachDrawing(ReplayDrawing* drawing) {
    drawing_ = drawing;
    host_.AttachDrawing(drawing ? &drawing->host() : nullptr);
}

void ReplaySession::Execute(std::string_view line, std::string& out) {
    const std::vector<std::string_view> words = SplitWords(line);
    if (words.empty() || words[0].front() == '#') return;
    const std::string_view command = words[0];
    GameState& s = game_.state;

    try {
        if (command == "draws") {
            for (std::size_t k = 1; k < words.size(); ++k)
                random_.Append(
                    Number<std::uint64_t>(words[k], 0, std::numeric_limits<std::uint64_t>::max()));
        } else if (command == "mode") {
            ExpectArgs(words, 1, 1);
            game_.ModeClick(Number<int>(words[1], kClassic, kZonky));
        } else if (command == "new") {
            ExpectArgs(words, 0, 0);
            game_.NewClick();
        } else if (command == "stop") {
            ExpectArgs(words, 0, 0);
            game_.Exit1Click();
        } else if (command == "tick") {
            ExpectArgs(words, 0, 1);
            const int n =
                words.size() > 1 ? Number<int>(words[1], 0, std::numeric_limits<int>::max()) : 1;
            for (int k = 0; k < n; ++k) game_.Timer1Timer();
        } else if (command == "key") {
            bool known = true;
            const std::optional<ReplayStep> key = ParseStep(words, nullptr, known);
            game_.Edit1KeyDown(key->value, key->modifiers);
        } else if (command == "pause") {
            ExpectArgs(words, 0, 0);
            game_.Pause1Click();
        } else if (command == "minimise") {
            ExpectArgs(words, 0, 0);
            game_.HideMainForm();
        } else if (command == "rotate") {
            ExpectArgs(words, 1, 1);
            game_.settings.RotateClockwise = static_cast<std::uint8_t>(Number<int>(words[1], 0, 1));
        } else if (command == "sound") {
            ExpectArgs(words, 1, 1);
            game_.settings.SoundOn = static_cast<std::uint8_t>(Number<int>(words[1], 0, 1));
        } else if (command == "language") {
            ExpectArgs(words, 1, 1);
            game_.settings.UiLanguage = static_cast<std::uint8_t>(Number<int>(words[1], 0, 1));
        } else if (command == "wait") {
            // The pace of a replay in the window; the engine's outcome does not depend on it.
            ExpectArgs(words, 1, 1);
            Number<int>(words[1], 0, kMaxWaitMs);
        } else if (command == "check") {
            const ReplayTally expected = ParseTally(words, 1);
            if (!Matches(expected, s))
                throw ReplayError("the game differs from the replay's: " + TallyWords(TallyOf(s)));
        } else if (ExecuteStateCommand(s, words, &host_)) {
        } else if (command == "paint" || command == "png" || command == "pixel") {
            ExecuteDrawing(words, out);
        } else if (command == "dump") {
            ExpectArgs(words, 0, 0);
            out += Dump();
            out += '\n';
        } else {
            throw ReplayError("unknown command '" + ShownInput(command) + "'");
        }
    } catch (const ScriptedRandom::OutOfDraws&) {
        throw ReplayError("out of draws");
    }
}

void ReplaySession::ExecuteDrawing(const std::vector<std::string_view>& words, std::string& out) {
    if (!drawing_) throw ReplayError("this zonky-replay was built without drawing");
    const std::string_view command = words[0];
    if (command == "paint") {
        if (words.size() != 1 && words.size() != 5)
            throw ReplayError("'paint' takes no arguments or X Y W H");
        std::optional<std::array<int, 4>> rect;
        if (words.size() == 5)
            rect = std::array<int, 4>{Int32(words[1]), Int32(words[2]),
                                      Number<int>(words[3], 0, 1 << 16),
                                      Number<int>(words[4], 0, 1 << 16)};
        drawing_->Paint(rect);
    } else if (command == "png") {
        ExpectArgs(words, 1, 1);
        if (IsGameFile(words[1]))
            throw ReplayError("will not write the game's own file " + ShownInput(words[1]));
        const std::string problem = drawing_->WritePng(std::string(words[1]));
        if (!problem.empty())
            throw ReplayError("cannot write " + ShownInput(words[1]) + ": " + problem);
    } else {
        ExpectArgs(words, 2, 2);
        const int x = Number<int>(words[1], 0, kWindowPixelsWide - 1);
        const int y = Number<int>(words[2], 0, kWindowPixelsHigh - 1);
        const std::array<int, 3> rgb = drawing_->Pixel(x, y);
        JsonWriter json;
        json.BeginObject();
        json.Key("pixel");
        json.BeginArray();
        json.Int(x);
        json.Int(y);
        json.EndArray();
        json.Key("rgb");
        json.BeginArray();
        for (int channel : rgb) json.Int(channel);
        json.EndArray();
        json.EndObject();
        out += json.str();
        out += '\n';
    }
}

namespace {

enum class LineRead { Line, End, TooLong };

// One line without its end. A line longer than the limit is not read on.
LineRead ReadLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    while (true) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof())
            return line.empty() ? LineRead::End : LineRead::Line;
        if (c == '\n') return LineRead::Line;
        if (line.size() == kMaxLineBytes) return LineRead::TooLong;
        line += static_cast<char>(c);
    }
}

}  // namespace

int RunScript(std::istream& in, std::ostream& out, std::ostream& err, ReplaySession& session) {
    std::string line;
    std::string written;
    long lineNumber = 0;
    while (true) {
        const LineRead read = ReadLine(in, line);
        if (read == LineRead::End) break;
        ++lineNumber;
        try {
            if (read == LineRead::TooLong)
                throw ReplayError("longer than " + std::to_string(kMaxLineBytes) + " bytes");
            session.Execute(line, written);
        } catch (const ReplayError& error) {
            out << written << std::flush;
            err << "line " << lineNumber << ": " << error.what() << "\n";
            return 2;
        }
        if (!written.empty()) {
            out << written;
            written.clear();
        }
    }
    out << std::flush;
    return 0;
}

int RunCommandLine(int argc, char** argv, ReplaySession& session) {
    if (argc > 2) {
        std::cerr << "usage: zonky-replay [SCRIPT]\n";
        return 2;
    }
    if (argc < 2) return RunScript(std::cin, std::cout, std::cerr, session);
    // A folder opens like a file and then reads as empty: it would pass for an empty script.
    std::error_code error;
    if (std::filesystem::is_directory(argv[1], error)) {
        std::cerr << "cannot open " << ShownInput(argv[1]) << ": it is a directory\n";
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::cerr << "cannot open " << ShownInput(argv[1]) << "\n";
        return 2;
    }
    return RunScript(file, std::cout, std::cerr, session);
}

void WriteHiScores(JsonWriter& json, const HiScoreTable& table) {
    json.BeginArray();
    for (int mode = 1; mode <= HiScoreTable::kLists; ++mode) {
        json.BeginObject();
        json.Key("entries");
        json.BeginArray();
        for (int k = 1; k <= HiScoreTable::kEntries; ++k) {
            json.BeginArray();
            json.Int(table.Avatar(mode, k));
            json.Int(table.ShownScore(mode, k));
            json.Int(table.FinalLevel(mode, k));
            json.String(Cp1251ToUtf8(table.Name(mode, k)));
            json.EndArray();
        }
        json.EndArray();
        json.Key("newest");
        json.Int(table.Newest(mode));
        json.EndObject();
    }
    json.EndArray();
}

void WriteGameState(JsonWriter& json, const GameState& s) {
    json.Key("well");
    json.BeginArray();
    for (int r = kTopRow; r <= kFloorRow; ++r) {
        json.BeginArray();
        for (int c = kLeftWall; c <= kRightWall; ++c) json.Int(s.Well.At(r, c));
        json.EndArray();
    }
    json.EndArray();

    json.Key("layers");
    json.BeginArray();
    for (int r = kTopRow; r <= kFloorRow; ++r) {
        json.BeginArray();
        for (int c = kLeftWall; c <= kRightWall; ++c) json.Int(s.WellLayers.At(r, c).count);
        json.EndArray();
    }
    json.EndArray();

    json.Key("parts");
    json.BeginArray();
    for (int r = kTopRow; r <= kFloorRow; ++r)
        for (int c = kLeftWall; c <= kRightWall; ++c) {
            const CellLayers& layers = s.WellLayers.At(r, c);
            if (layers.count <= 0) continue;
            json.BeginArray();
            json.Int(r);
            json.Int(c);
            json.BeginArray();
            for (int k = 0; k < layers.count && k < kMaxLayers; ++k) {
                json.BeginArray();
                json.Int(layers.slot[k].shape);
                json.Int(layers.slot[k].color);
                json.EndArray();
            }
            json.EndArray();
            json.EndArray();
        }
    json.EndArray();

    json.Key("cur");
    WriteGrid(json, s.CurPiece);
    json.Key("next");
    WriteGrid(json, s.NextPiece);

    const std::pair<std::string_view, std::int64_t> counters[] = {
        {"col", s.PieceCol},
        {"row", s.PieceRow},
        {"curColor", s.CurColor},
        {"nextColor", s.NextColor},
        {"mode", s.GameMode},
        {"level", s.Level},
        {"levelPieces", s.LevelPieces},
        {"score", s.Score},
        {"lines", s.Lines},
        {"shownScore", ShownScore(s.Score)},
    };
    for (const auto& [key, value] : counters) {
        json.Key(key);
        json.Int(value);
    }
    const std::pair<std::string_view, bool> flags[] = {
        {"running", s.Running},   {"paused", s.Paused},       {"needPiece", s.NeedPiece},
        {"dropping", s.Dropping}, {"nextShown", s.NextShown},
    };
    for (const auto& [key, value] : flags) {
        json.Key(key);
        json.Bool(value);
    }
}

std::string ReplaySession::Dump() {
    const GameState& s = game_.state;
    JsonWriter json;
    json.BeginObject();

    WriteGameState(json, s);
    json.Key("rotateClockwise");
    json.Int(game_.settings.RotateClockwise);
    json.Key("soundOn");
    json.Int(game_.settings.SoundOn);
    json.Key("interval");
    json.Int(host_.interval);
    // Timer1 stops only while a modal dialog is open, and zonky-replay opens none.
    json.Key("timerEnabled");
    json.Bool(true);

    json.Key("events");
    json.BeginArray();
    for (const std::string& event : host_.Take()) json.String(event);
    json.EndArray();

    json.Key("hiscores");
    WriteHiScores(json, host_.hiScores);

    json.EndObject();
    return json.str();
}

}  // namespace zonky
