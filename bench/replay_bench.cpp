// What recording costs the game: a tick and a key with and without the recorder watching
// (argument 1: recorded). Steady play must stay within noise of no recording.
#include <benchmark/benchmark.h>

#include "game/game.h"
#include "game/random.h"
#include "game/replay_recorder.h"

namespace zonky {
namespace {

struct SteppingClock : Clock {
    std::int64_t now = 0;
    std::int64_t NowMs() override { return now += 110; }
};

struct Played {
    explicit Played(bool recorded)
        : recorder(system, clock), game(host, recorded ? static_cast<Random&>(recorder) : system) {
        if (recorded) recorder.Attach(game);
        game.NewClick();
    }
    // A game that ended is started again, outside the timing.
    void KeepRunning(benchmark::State& state) {
        if (game.state.Running) return;
        state.PauseTiming();
        if (recorder.Finished()) benchmark::DoNotOptimize(recorder.Take({}));
        game.NewClick();
        state.ResumeTiming();
    }
    NullHost host;
    SystemRandom system{7};
    SteppingClock clock;
    ReplayRecorder recorder;
    Game game;
};

void BM_Tick(benchmark::State& state) {
    Played played(state.range(0) != 0);
    for (auto _ : state) {
        played.game.Timer1Timer();
        played.KeepRunning(state);
    }
}
BENCHMARK(BM_Tick)->Arg(0)->Arg(1);

void BM_Key(benchmark::State& state) {
    Played played(state.range(0) != 0);
    constexpr int kKeys[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyRight, kKeyLeft, kKeyUp};
    std::size_t k = 0;
    for (auto _ : state) {
        played.game.Edit1KeyDown(kKeys[k++ % std::size(kKeys)], {});
        // Keys alone never land a piece; a tick now and then keeps the game moving.
        if (k % 64 == 0) played.game.Timer1Timer();
        played.KeepRunning(state);
    }
}
BENCHMARK(BM_Key)->Arg(0)->Arg(1);

}  // namespace
}  // namespace zonky
