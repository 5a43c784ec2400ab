// The program as main() builds it, steered for measuring: it can start a game at a given
// level and keep it going (a full stack is cleared instead of ending the game), or end a game
// to measure the game-over wait. Not part of the product: a player never runs it.
//   program_probe               start as the program does (welcome dialog first)
//   program_probe --play N      skip the welcome, play at level N until killed
//   program_probe --game-over   skip the welcome, play 2 s, then end the game; prints
//                               "game-over" when the wait begins and "done" after it
//   program_probe --paused      skip the welcome, play 2 s, then pause the game
//   program_probe --after-game  skip the welcome, play 2 s, then end the game and stay
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string>

#include "shell/program.h"

namespace {

// Keeps a game alive at one level: the stack is cleared before it reaches the top.
void KeepPlaying(zonky::TMainForm& form, int level) {
    zonky::GameState& s = form.game().state;
    if (!s.Running) return;
    s.Level = level;
    s.LevelPieces = 1;
    bool high = false;
    for (int c = zonky::kFirstColumn; c <= zonky::kLastColumn; ++c)
        high = high || s.Well.At(6, c) != zonky::kEmpty;
    if (high) {
        form.game().ClearWell();
        form.renderer().InvalidateAll();
        form.view().update();
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zonky::SetUpApplication();
    const bool play = argc >= 3 && std::strcmp(argv[1], "--play") == 0;
    const bool gameOver = argc >= 2 && std::strcmp(argv[1], "--game-over") == 0;
    const bool paused = argc >= 2 && std::strcmp(argv[1], "--paused") == 0;
    const bool afterGame = argc >= 2 && std::strcmp(argv[1], "--after-game") == 0;
    const bool welcome = !play && !gameOver && !paused && !afterGame;
    const int level = play ? std::stoi(argv[2]) : 1;

    zonky::Program program;
    zonky::TMainForm& MainForm = program.MainForm;
    if (!welcome) {
        zonky::Dialogs dialogs = program.AllDialogs();
        dialogs.Form2 = nullptr;  // no welcome
        MainForm.AttachDialogs(dialogs);
    }
    MainForm.FormShow();
    if (welcome) return QApplication::exec();

    MainForm.New->trigger();
    QTimer keeper;
    QObject::connect(&keeper, &QTimer::timeout, [&] { KeepPlaying(MainForm, level); });
    keeper.start(20);
    // Left alone from then on: the keeper's own ticks would be measured too.
    if (paused || afterGame) {
        QTimer::singleShot(2000, [&] {
            keeper.stop();
            (paused ? MainForm.Pause1 : MainForm.Exit1)->trigger();
        });
    }
    if (gameOver) {
        QTimer::singleShot(2000, [&] {
            std::puts("game-over");
            std::fflush(stdout);
            MainForm.Exit1->trigger();  // returns when the wait is over (the score is 0)
            std::puts("done");
            std::fflush(stdout);
        });
    }
    return QApplication::exec();
}
