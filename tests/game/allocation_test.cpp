// The hot paths (a tick, a key, the rules) must not touch the heap: count every allocation
// made while a game is played.
#include <gtest/gtest.h>

#include <cstdint>

#include "game/game.h"
#include "game/movement.h"
#include "game/random.h"
#include "game/replay_recorder.h"
#include "tests/support/allocation_counter.h"

namespace zonky::test {
namespace {

struct CountingClock : Clock {
    std::int64_t now = 0;
    std::int64_t NowMs() override { return now += 7; }
};

// Plays random games; the recorder, when given, observes them and hands on the draws.
void PlayGames(bool recorded) {
    NullHost host;
    SystemRandom system(2024);
    CountingClock clock;
    ReplayRecorder recorder(system, clock);
    Random& random = recorded ? static_cast<Random&>(recorder) : system;
    Game game(host, random);
    if (recorded) recorder.Attach(game);
    std::uint32_t x = 12345;
    auto next = [&x] {  // xorshift: the choice of commands must not allocate either
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return x;
    };
    constexpr int kKeys[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeySpace, kKeyEscape};
    int games = 0;
    long allocations = 0;
    {
        const Counting counting;
        for (int mode : {kClassic, kDedadidavaza, kZonky}) {
            game.state.GameMode = mode;
            game.NewGame();
            for (int step = 0; step < 200000; ++step) {
                const std::uint32_t r = next() % 100;
                if (r < 55) {
                    game.Timer1Timer();
                } else if (r < 98) {
                    game.Edit1KeyDown(kKeys[next() % 5], KeyModifiers{(next() & 1) != 0});
                } else if (r < 99) {
                    game.Pause1Click();
                } else {
                    game.Edit1KeyDown(kKeyEscape, {});
                    game.Pause1Click();
                }
                if (!game.state.Running && !game.state.Paused) {
                    ++games;
                    game.NewClick();
                }
            }
        }
        allocations = counting.count();
    }
    EXPECT_GT(games, 3);
    EXPECT_EQ(allocations, 0);
}

TEST(Allocation, PlayingGamesNeverAllocates) {
    PlayGames(false);
}

TEST(Allocation, RecordingGamesNeverAllocates) {
    PlayGames(true);
}

TEST(Allocation, TheCounterSeesAnAllocation) {
    long allocations = 0;
    {
        const Counting counting;
        auto* p = new int(3);
        allocations = counting.count();
        delete p;
    }
    EXPECT_EQ(allocations, 1);
}

}  // namespace
}  // namespace zonky::test
