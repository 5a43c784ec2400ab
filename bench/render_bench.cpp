// Drawing costs: a move, a landing that removes four rows, a full repaint of a well with two
// parts in every cell, and scaling to the screen. The pictures are plain ones of the layout's
// sizes.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "bench/bench_support.h"
#include "render/sharp_scale.h"
#include "tests/render/render_support.h"

namespace zonky {
namespace {

PieceGrid Tee() {
    PieceGrid grid;
    grid.cells.fill(kEmpty);
    grid.at(1, 1) = grid.at(1, 2) = grid.at(1, 3) = grid.at(2, 2) = kFull;
    return grid;
}

void BM_Move(benchmark::State& state) {
    test::DrawnGame g;
    g.game.NewGame();
    GameState& s = g.game.state;
    s.CurPiece = Tee();
    s.CurColor = 3;
    s.PieceCol = 5;
    s.PieceRow = 8;
    s.NeedPiece = false;
    g.renderer.SavePieceBox(5, 8);
    int key = kKeyLeft;
    for (auto _ : state) {
        g.game.Edit1KeyDown(key, {});
        if (s.PieceCol == 1) key = kKeyRight;
        if (s.PieceCol == 10) key = kKeyLeft;
    }
}
BENCHMARK(BM_Move);

void BM_LandingRemovingFourRows(benchmark::State& state) {
    test::DrawnGame g;
    g.game.settings.SoundOn = 0;
    g.game.NewGame();
    for (auto _ : state) {
        bench::ReadyToRemoveFourRows(g.game.state);
        g.game.FallStep();
    }
}
BENCHMARK(BM_LandingRemovingFourRows);

void BM_FullRepaint(benchmark::State& state) {
    test::DrawnGame g;
    g.game.NewGame();
    GameState& s = g.game.state;
    for (int r = 1; r <= 20; ++r)
        for (int c = 1; c <= 12; ++c) {
            CellLayers& layers = *s.WellLayers.Find(r, c);
            layers.count = 2;
            layers.slot[0] = {-1, 1 + (r + c) % 7};
            layers.slot[1] = {1, 1 + (r * c) % 7};
        }
    s.CurPiece = Tee();
    s.CurColor = 4;
    s.PieceCol = 5;
    s.PieceRow = 3;
    s.NeedPiece = false;
    s.NextShown = true;
    for (auto _ : state) {
        g.renderer.InvalidateAll();
        g.renderer.Flush();
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

void BM_Compose(benchmark::State& state) {
    test::DrawnGame g;
    g.game.NewGame();
    g.renderer.Flush();
    for (auto _ : state) benchmark::DoNotOptimize(g.renderer.Compose().Pixel(1, 1));
}
BENCHMARK(BM_Compose)->Unit(benchmark::kMicrosecond);

// Scaling to the screen at ratio/100 what a fall step changes (its box and the row above),
// or with whole=1 the whole window.
void BM_SharpScale(benchmark::State& state) {
    test::DrawnGame g;
    g.game.NewGame();
    const QImage& picture = g.renderer.Compose().image();
    SharpScale scale(picture.size(), static_cast<double>(state.range(0)) / 100);
    const QRect changed = state.range(1) != 0 ? picture.rect() : QRect(72, 34, 72, 90);
    const QRect screenRect = scale.Reach(changed);
    for (auto _ : state) scale.Update(picture, screenRect);
    state.counters["pixels"] = screenRect.width() * screenRect.height();
}
BENCHMARK(BM_SharpScale)->ArgsProduct({{100, 150, 200}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zonky

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
