// The engine's hot paths: the movement tests, a turn, a landing that removes four rows, and
// a whole headless game of 640 pieces.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "game/game.h"
#include "game/movement.h"
#include "game/random.h"

namespace zonky {
namespace {

PieceGrid Tee() {
    PieceGrid grid;
    grid.cells.fill(kEmpty);
    grid.at(1, 1) = -5;
    grid.at(1, 2) = 0;
    grid.at(1, 3) = 6;
    grid.at(2, 2) = -5;
    return grid;
}

// A well with a ragged stack of partial cells in its lower half.
WellGrid RaggedWell() {
    NullHost host;
    SystemRandom random(1);
    Game game(host, random);
    game.ClearWell();
    constexpr std::int32_t kParts[] = {-3, -6, 5, 0, kEmpty, -2, 1, kEmpty};
    for (int r = 11; r <= 20; ++r)
        for (int c = 1; c <= 12; ++c) game.state.Well.Set(r, c, kParts[(r * 5 + c * 3) % 8]);
    return game.state.Well;
}

void BM_PieceFits(benchmark::State& state) {
    const WellGrid well = RaggedWell();
    const PieceGrid piece = Tee();
    int col = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PieceFits(well, piece, col, 9, 0));
        col = col == 10 ? 1 : col + 1;
    }
}
BENCHMARK(BM_PieceFits);

void BM_CanShift(benchmark::State& state) {
    const WellGrid well = RaggedWell();
    const PieceGrid piece = Tee();
    int col = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CanShift(well, piece, col, 10, (col & 1) != 0));
        col = col == 10 ? 1 : col + 1;
    }
}
BENCHMARK(BM_CanShift);

void BM_RotatePiece(benchmark::State& state) {
    PieceGrid piece = Tee();
    for (auto _ : state) {
        RotatePiece(piece, 1);
        benchmark::DoNotOptimize(piece);
    }
}
BENCHMARK(BM_RotatePiece);

// An I of full squares lands in the gap of four nearly full rows and removes them. Refilling
// the rows is timed too: it costs far less than pausing the timer would.
void BM_FallStepRemovingFourRows(benchmark::State& state) {
    NullHost host;
    SystemRandom random(1);
    Game game(host, random);
    game.settings.SoundOn = 0;
    game.NewGame();
    for (auto _ : state) {
        bench::ReadyToRemoveFourRows(game.state);
        game.FallStep();
        benchmark::DoNotOptimize(game.state.Lines);
    }
}
BENCHMARK(BM_FallStepRemovingFourRows);

// 640 pieces in Zonky, each stepped down with the Down key until it lands; a stack that grows
// too high is cleared so that the game reaches its end.
void BM_WholeGame(benchmark::State& state) {
    NullHost host;
    for (auto _ : state) {
        SystemRandom random(7);
        Game game(host, random);
        game.settings.SoundOn = 0;
        game.state.GameMode = kZonky;
        game.NewGame();
        while (game.state.Running) {
            game.GameTick();
            while (game.state.Running && !game.state.NeedPiece) game.Edit1KeyDown(kKeyDown, {});
            for (int c = 1; c <= 12; ++c)
                if (game.state.Well.At(6, c) != kEmpty) {
                    game.ClearWell();
                    break;
                }
        }
        benchmark::DoNotOptimize(game.state.Score);
        if (game.state.Level != kWonLevel) state.SkipWithError("the game did not reach its end");
    }
}
BENCHMARK(BM_WholeGame)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zonky
