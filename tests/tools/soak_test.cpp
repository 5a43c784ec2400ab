// Random play from seeded scripts through zonky-replay's interpreter, checking the game's
// invariants after every command.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tools/replay/replay_session.h"

namespace zonky::test {
namespace {

bool WellCode(std::int32_t code) {
    return code == kEmpty || (code >= kMinPieceCode && code <= kTopBottom);
}

// Returns an empty string when every invariant holds, else what broke.
std::string CheckInvariants(const Game& game) {
    const GameState& s = game.state;
    if (s.Running && s.Paused) return "running and paused";
    for (int r = kTopRow; r <= kFloorRow; ++r) {
        if (s.Well.At(r, kLeftWall) != kFull || s.Well.At(r, kRightWall) != kFull) return "wall";
        if (s.WellLayers.At(r, kLeftWall).count != 0 || s.WellLayers.At(r, kRightWall).count != 0)
            return "wall layers";
    }
    for (int c = kLeftWall; c <= kRightWall; ++c)
        if (s.Well.At(kFloorRow, c) != kFull) return "floor";
    if (s.Level == 0) return "";  // no game was ever started
    for (int r = kTopRow; r <= kLastRow; ++r)
        for (int c = kFirstColumn; c <= kLastColumn; ++c) {
            const std::int32_t code = s.Well.At(r, c);
            const CellLayers& layers = s.WellLayers.At(r, c);
            if (!WellCode(code)) return "bad code " + std::to_string(code);
            if (layers.count < 0 || layers.count > kMaxLayers) return "layer count";
            if ((code == kEmpty) != (layers.count == 0)) return "layers disagree with the well";
            for (int k = 0; k < layers.count; ++k) {
                const Layer& layer = layers.slot[k];
                if (layer.shape < kMinPieceCode || layer.shape > kMaxPieceCode)
                    return "layer shape";
                if (layer.color < 1 || layer.color > kColorCount) return "layer colour";
            }
        }
    if (s.LevelPieces < 0 || s.LevelPieces > kPiecesPerLevel) return "level pieces";
    if (!((s.Level >= 1 && s.Level <= kLastLevel) || s.Level == kWonLevel)) return "level";
    if (s.Score < 0 || s.Lines < 0) return "counters";
    if ((s.Running || s.Paused) && !s.NeedPiece) {
        if (!((s.CurColor >= 1 && s.CurColor <= kColorCount) || s.CurColor == kSpecialColor))
            return "piece colour";
        for (int i = 1; i <= 4; ++i)
            for (int j = 1; j <= 4; ++j) {
                if (s.CurPiece.at(i, j) == kEmpty) continue;
                const int r = s.PieceRow + i - 1;
                const int c = s.PieceCol + j - 1;
                if (r < kTopRow || r > kLastRow || c < kFirstColumn || c > kLastColumn)
                    return "piece outside the well at " + std::to_string(r) + "," +
                           std::to_string(c);
            }
    }
    return "";
}

// Mostly ticks and keys, now and then the menu.
std::string RandomCommand(std::mt19937& rng) {
    static const char* const kKeys[] = {"left",  "right",  "up",      "down",
                                        "space", "escape", "up shift"};
    const int r = static_cast<int>(rng() % 1000);
    if (r < 450) return "tick";
    if (r < 930) return std::string("key ") + kKeys[rng() % 7];
    if (r < 950) return "pause";
    if (r < 960) return "minimise";
    if (r < 970) return "rotate " + std::to_string(rng() % 2);
    if (r < 980) return "sound " + std::to_string(rng() % 2);
    if (r < 985) return "dump";
    if (r < 990) return "new";
    if (r < 995) return "mode " + std::to_string(1 + rng() % 3);
    return "stop";
}

void Soak(unsigned seed, int commands) {
    std::mt19937 rng(seed);
    ReplaySession session;
    std::string out;
    session.Execute("mode " + std::to_string(1 + seed % 3), out);
    int games = 0;
    for (int n = 0; n < commands; ++n) {
        if (session.random().Remaining() < 64) {
            std::string draws = "draws";
            for (int k = 0; k < 256; ++k) draws += " " + std::to_string(rng());
            session.Execute(draws, out);
        }
        std::string command = RandomCommand(rng);
        // Keep games going: a finished game is followed by a new one.
        const GameState& s = session.game().state;
        if (!s.Running && !s.Paused) {
            command = "new";
            ++games;
        }
        session.Execute(command, out);
        out.clear();
        const std::string broken = CheckInvariants(session.game());
        ASSERT_EQ(broken, "") << "seed " << seed << ", command " << n << ": " << command;
    }
    EXPECT_GT(games, 1) << "seed " << seed;
}

TEST(Soak, RandomPlayKeepsTheInvariants) {
    for (unsigned seed = 1; seed <= 6; ++seed) Soak(seed, 50000);
}

}  // namespace
}  // namespace zonky::test
