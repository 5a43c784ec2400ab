// What watching a replay costs: one recorded tick played in the real window, its calls,
// drawing and paint included. A level-8 game at 8x plays 8 x 1000 / 110 = 73 ticks a second;
// the "cpu share at 8x level 8" counter is that rate times the CPU time of one tick.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "shell/program.h"

namespace zonky {
namespace {

constexpr double kLevel8TicksPerSecondAt8x = 8.0 * 1000.0 / 110.0;

// Plays one Zonky game through the window's handlers until the well fills or 2000 ticks have
// passed, then ends it: its replay is kept.
std::string RecordAGame(TMainForm& form) {
    Game& game = form.game();
    // No result enters the table, so no name is asked for.
    for (int k = 0; k < HiScoreTable::kEntries; ++k)
        InsertHiScore(form.hiScores(), kZonky, 1'000'000'000, 8, "bench", 0);
    form.Zonky1->trigger();
    for (int tick = 0; tick < 2000 && game.state.Running; ++tick) {
        game.Timer1Timer();
        if (tick % 5 == 0) game.Edit1KeyDown(tick % 3 ? kKeyLeft : kKeyRight, {});
        if (tick % 7 == 0) game.Edit1KeyDown(kKeyUp, {});
    }
    form.Exit1->trigger();
    const QStringList files = QDir(kReplayFolderName).entryList(QDir::Files, QDir::Name);
    return files.isEmpty() ? "" : std::string(kReplayFolderName) + "/" + files.last().toStdString();
}

// The window and the file it plays, made once in main() and gone before the application.
struct Watched {
    TMainForm& form;
    std::string file;
};

void BM_PlaybackTick(benchmark::State& state, Watched* watched) {
    TMainForm& form = watched->form;
    std::int64_t ticks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.WatchReplay(QString::fromStdString(watched->file));
        form.player().TogglePause();
        state.ResumeTiming();
        while (form.Watching()) {
            form.player().Step();
            form.view().repaint();
            ++ticks;
        }
    }
    state.counters["ticks"] =
        benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
    // Seconds of work per second of watching: the time of one tick times the rate.
    state.counters["share at 8x level 8"] =
        benchmark::Counter(static_cast<double>(ticks) / kLevel8TicksPerSecondAt8x,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace
}  // namespace zonky

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zonky::SetUpApplication();
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        zonky::Program program;
        program.MainForm.show();
        zonky::Watched watched{program.MainForm, zonky::RecordAGame(program.MainForm)};
        benchmark::RegisterBenchmark("BM_PlaybackTick", zonky::BM_PlaybackTick, &watched)
            ->Unit(benchmark::kMillisecond);
        benchmark::RunSpecifiedBenchmarks();
    }
    QDir::setCurrent(previous);
    benchmark::Shutdown();
    return 0;
}
