// Random play from seeded scripts through zonky-replay's interpreter, checking the game's
// invariants after every command.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/game_invariants.h"
#include "tools/replay/replay_session.h"

namespace zonky::test {
namespace {

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

void PlayRandomly(int mode, unsigned seed, int commands) {
    std::mt19937 rng(seed);
    ReplaySession session;
    std::string out;
    session.Execute("mode " + std::to_string(mode), out);
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
        const std::string broken = CheckInvariants(session.game().state);
        ASSERT_EQ(broken, "") << "seed " << seed << ", command " << n << ": " << command;
    }
    EXPECT_GT(games, 1) << "seed " << seed;
}

// Over a million commands in all, a third starting in each mode (the menu switches modes
// now and then as well). Two seeds per mode.
constexpr int kCommandsPerSeed = 170000;

class Soak : public ::testing::TestWithParam<int> {};

TEST_P(Soak, RandomPlayKeepsTheInvariants) {
    const int mode = GetParam();
    for (unsigned seed = 1; seed <= 2; ++seed)
        PlayRandomly(mode, static_cast<unsigned>(mode) * 100 + seed, kCommandsPerSeed);
}

INSTANTIATE_TEST_SUITE_P(Modes, Soak, ::testing::Values(kClassic, kDedadidavaza, kZonky));

}  // namespace
}  // namespace zonky::test
