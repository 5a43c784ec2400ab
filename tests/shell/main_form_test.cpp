// The main window as a player drives it: menu commands and shortcuts, the mode marks,
// pause, minimising, the Options command and the timer, the game-over sequence and closing.
#include <gtest/gtest.h>

#include <cmath>

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "tests/shell/program_support.h"
#include "tests/support/piece_grids.h"

namespace zonky::test {
namespace {

struct Shown : ProgramInTempDir {
    Shown() {
        form->FormShow();
        QApplication::setActiveWindow(form);
        form->activateWindow();
        form->view().setFocus();
        (void)QTest::qWaitForWindowActive(form);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&form->view(), static_cast<Qt::Key>(key), modifiers);
    }
    const GameState& state() { return form->game().state; }
    // The window's pixels as the screen holds them, painting nothing.
    QImage OnScreen() { return form->screen()->grabWindow(form->winId()).toImage(); }
};

TEST(Program, StartsWithTheWelcomeDialogAndWritesNothing) {
    Shown p;
    ASSERT_EQ(p.answers.seen.size(), 1u);
    EXPECT_TRUE(p.form->isVisible());
    EXPECT_EQ(p.form->Game1->title(), "&Game");
    EXPECT_EQ(p.form->windowTitle(), "Zonky Mosaro");
    EXPECT_EQ(p.form->view().size(), QSize(309, 380));
    EXPECT_TRUE(p.form->Dedadidavaza1->isChecked());
    EXPECT_FALSE(p.state().Running);
    EXPECT_TRUE(p.form->timer().Enabled());
    EXPECT_EQ(p.form->timer().Interval(), 100);
    EXPECT_FALSE(QFile::exists(p.File("ZonkyMos.Ini")));
    EXPECT_FALSE(QFile::exists(p.File("ZonkyMos.dat")));
}

// ... and the dialogs after the welcome, made only when one is first needed, take it too.
TEST(Program, ReadsTheSettingsAndLanguageAtFirstShow) {
    ProgramInTempDir p(true);
    {
        QFile ini(p.File("ZonkyMos.Ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("1011");
    }
    p.form->FormShow();
    EXPECT_EQ(p.form->settings().RotateClockwise, 1);
    EXPECT_EQ(p.form->settings().UiLanguage, 1);
    EXPECT_EQ(p.form->Game1->title(), QString::fromUtf8("&Игра"));
    EXPECT_EQ(p.answers.seen, std::vector<QString>{"Form2"});
    EXPECT_FALSE(p.windows->DialogsMade());

    p.form->hiScore1->trigger();
    ASSERT_TRUE(p.windows->DialogsMade());
    const Dialogs dialogs = p.windows->AllDialogs();
    EXPECT_TRUE(dialogs.HiScoreForm->isVisible());
    EXPECT_EQ(dialogs.HiScoreForm->windowTitle(), UiText(UiId::BestPlayers, 1));
    EXPECT_EQ(dialogs.OpForm->Controls().ButtonCancel->text(), UiText(UiId::Cancel, 1));
}

TEST(Program, MenuCommandsStartGamesAndMoveTheCheckMark) {
    Shown p;
    p.form->New->trigger();
    EXPECT_TRUE(p.state().Running);
    EXPECT_EQ(p.state().GameMode, kDedadidavaza);
    p.form->Classic1->trigger();  // ends the game through the game-over sequence
    EXPECT_EQ(p.state().GameMode, kClassic);
    EXPECT_TRUE(p.state().Running);
    EXPECT_TRUE(p.form->Classic1->isChecked());
    EXPECT_FALSE(p.form->Dedadidavaza1->isChecked());
    p.form->Classic1->trigger();  // the checked item again: still checked
    EXPECT_TRUE(p.form->Classic1->isChecked());
    p.form->Exit1->trigger();
    EXPECT_FALSE(p.state().Running);
    EXPECT_TRUE(p.form->isVisible());  // Exit ends the game, not the program
}

TEST(Program, ShortcutsReachTheirCommands) {
    Shown p;
    p.Key(Qt::Key_F2);
    ASSERT_TRUE(p.state().Running);
    p.Key(Qt::Key_3, Qt::AltModifier);
    EXPECT_EQ(p.state().GameMode, kZonky);
    EXPECT_TRUE(p.form->Zonky1->isChecked());
    p.Key(Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(p.state().GameMode, kClassic);
    p.Key(Qt::Key_2, Qt::AltModifier);
    EXPECT_EQ(p.state().GameMode, kDedadidavaza);
    ASSERT_TRUE(WaitFor([&] { return !p.state().NeedPiece; }));
    p.Key(Qt::Key_P);
    EXPECT_TRUE(p.state().Paused);
    p.Key(Qt::Key_P);
    EXPECT_TRUE(p.state().Running);
    p.Key(Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(p.HiScoreForm->isVisible());
    EXPECT_EQ(p.HiScoreForm->HiScoreTab(), kDedadidavaza);
    p.form->activateWindow();
    p.Key(Qt::Key_X, Qt::AltModifier);
    EXPECT_FALSE(p.state().Running);
}

TEST(Program, KeysMoveThePieceAndEscapePausesUntilP) {
    Shown p;
    p.form->Classic1->trigger();
    ASSERT_TRUE(WaitFor([&] { return !p.state().NeedPiece; }));
    const int col = p.state().PieceCol;
    p.Key(Qt::Key_Left);
    EXPECT_EQ(p.state().PieceCol, col - 1);
    const int row = p.state().PieceRow;
    p.Key(Qt::Key_Down);
    EXPECT_EQ(p.state().PieceRow, row + 1);
    p.Key(Qt::Key_Space);
    EXPECT_TRUE(p.state().Dropping);
    EXPECT_EQ(p.form->timer().Interval(), 100);

    p.Key(Qt::Key_Escape);
    EXPECT_TRUE(p.state().Paused);
    // Neither restoring the window nor minimising again resumes the game.
    p.form->showNormal();
    p.form->showMinimized();
    p.form->showNormal();
    EXPECT_TRUE(p.state().Paused);
    p.form->Pause1->trigger();
    EXPECT_TRUE(p.state().Running);
}

TEST(Program, MinimisingPausesARunningGame) {
    Shown p;
    p.form->New->trigger();
    ASSERT_TRUE(WaitFor([&] { return !p.state().NeedPiece; }));
    p.form->showMinimized();
    ASSERT_TRUE(WaitFor([&] { return p.state().Paused; }));
    p.form->showNormal();
    QTest::qWait(20);
    EXPECT_TRUE(p.state().Paused);
}

TEST(Program, OptionsStopTheTimerAndSaveTheSettings) {
    Shown p;
    bool timerDuringDialog = true;
    p.answers.Then([&](QDialog& dialog) {
        timerDuringDialog = p.form->timer().Enabled();
        p.form->settings().UiLanguage = 1;  // as the language buttons do
        dialog.accept();
    });
    p.form->Options->trigger();
    EXPECT_FALSE(timerDuringDialog);
    EXPECT_TRUE(p.form->timer().Enabled());
    EXPECT_EQ(p.form->Game1->title(), QString::fromUtf8("&Игра"));  // the new language applied
    QFile ini(p.File("ZonkyMos.Ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), QByteArray("0111"));
}

TEST(Program, OptionsThatCannotSaveStillRestartTheTimer) {
    Shown p;
    ASSERT_TRUE(QDir(p.dir.path()).mkdir("ZonkyMos.Ini"));  // a directory where the file goes
    p.form->Options->trigger();
    EXPECT_TRUE(p.form->timer().Enabled());
    EXPECT_TRUE(QFileInfo(p.File("ZonkyMos.Ini")).isDir());
}

TEST(Program, AboutStopsTheTimerAroundItself) {
    Shown p;
    bool timerDuringDialog = true;
    QString which;
    p.answers.Then([&](QDialog& dialog) {
        timerDuringDialog = p.form->timer().Enabled();
        which = dialog.metaObject()->className();
        dialog.accept();
    });
    p.form->About1->trigger();
    EXPECT_FALSE(timerDuringDialog);
    EXPECT_TRUE(p.form->timer().Enabled());
    EXPECT_EQ(which, "zonky::TAboutFormEng");
}

TEST(Program, AQualifyingGameAsksForANameAndShowsTheRecord) {
    Shown p;
    p.form->Zonky1->trigger();
    p.form->game().state.Score = 100;
    p.answers.Then([&](QDialog& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->setText(QString::fromUtf8("Ёжик"));
        dialog.accept();
    });
    p.form->Exit1->trigger();
    ASSERT_EQ(p.answers.seen.size(), 2u);  // welcome, then the name
    EXPECT_TRUE(p.HiScoreForm->isVisible());
    EXPECT_EQ(p.HiScoreForm->HiScoreTab(), kZonky);
    EXPECT_EQ(p.form->hiScores().ShownScore(kZonky, 1), 150);
    EXPECT_EQ(p.form->hiScores().Name(kZonky, 1), "\xA8\xE6\xE8\xEA");
    EXPECT_EQ(QFileInfo(p.File("ZonkyMos.dat")).size(), 1222);
    EXPECT_TRUE(p.form->renderer().Compose().Pixel(16, 178) != 0u);
}

TEST(Program, CommandsDuringTheGameOverWaitAreRefusedAndACloseWaitsForItsEnd) {
    Shown p;
    p.form->New->trigger();
    QTimer::singleShot(300, [&] {
        ASSERT_TRUE(p.form->game().InGameOver());
        p.form->Classic1->trigger();
        p.form->New->trigger();
        p.form->close();
        EXPECT_EQ(p.state().GameMode, kDedadidavaza);
        EXPECT_TRUE(p.form->Dedadidavaza1->isChecked());
        EXPECT_TRUE(p.form->isVisible());
    });
    p.form->Exit1->trigger();
    EXPECT_FALSE(p.state().Running);
    // The close waited and now runs: the good-bye dialog, then the window goes.
    ASSERT_TRUE(WaitFor([&] { return !p.form->isVisible(); }));
    EXPECT_EQ(p.answers.seen.size(), 2u);
}

// A mode item chosen during the wait is not lost: the game starts when the wait is over, and
// only then does the check mark move.
TEST(Program, AModeChosenDuringTheGameOverWaitStartsItsGameWhenTheWaitEnds) {
    Shown p;
    p.form->New->trigger();
    bool during = false;
    QTimer::singleShot(300, [&] {
        ASSERT_TRUE(p.form->game().InGameOver());
        p.form->Classic1->trigger();
        EXPECT_FALSE(p.state().Running);
        EXPECT_TRUE(p.form->Dedadidavaza1->isChecked());
        EXPECT_FALSE(p.form->Classic1->isChecked());
        during = true;
    });
    p.form->Exit1->trigger();
    EXPECT_TRUE(during);
    EXPECT_TRUE(p.state().Running);
    EXPECT_EQ(p.state().GameMode, kClassic);
    EXPECT_TRUE(p.form->Classic1->isChecked());
    EXPECT_FALSE(p.form->Dedadidavaza1->isChecked());
    EXPECT_EQ(p.form->game().LastResult().GameMode, kDedadidavaza);
}

// Minimised during the wait, the game it queued starts paused instead of playing unseen.
TEST(Program, AGameQueuedDuringTheWaitStartsPausedInAMinimisedWindow) {
    Shown p;
    p.form->New->trigger();
    QTimer::singleShot(300, [&] {
        p.form->New->trigger();
        p.form->showMinimized();
    });
    p.form->Exit1->trigger();
    EXPECT_TRUE(p.state().Paused);
    EXPECT_FALSE(p.state().Running);
}

// Results kept: a result no save could store is saved at the next chance (here, showing the
// best-players dialog); one still unsaved at close is told, once, before the good-bye.
TEST(Program, AnUnsavedResultIsSavedLaterOrItsLossToldAtClose) {
    Shown p;
    const QString lock = p.File("ZonkyMos.dat.lock");
    for (bool freed : {true, false}) {
        ASSERT_TRUE(QFile::link("elsewhere", lock));  // a lock that cannot be taken
        p.form->Zonky1->trigger();
        p.form->game().state.Score = freed ? 100 : 200;
        p.form->Exit1->trigger();
        EXPECT_EQ(p.form->hiScores().ShownScore(kZonky, 1), freed ? 150 : 300);
        EXPECT_EQ(QFileInfo(p.File("ZonkyMos.dat")).size(), freed ? 0 : 1222);
        if (freed) {
            ASSERT_TRUE(QFile::remove(lock));
            p.form->hiScore1->trigger();
            EXPECT_EQ(QFileInfo(p.File("ZonkyMos.dat")).size(), 1222) << "not saved again";
        }
    }
    QString told;
    p.answers.Then([&](QDialog& dialog) {
        if (auto* box = qobject_cast<QMessageBox*>(&dialog)) told = box->text();
        dialog.accept();
    });
    p.form->close();
    EXPECT_EQ(p.answers.seen.back(), "Form2");
    EXPECT_TRUE(told.contains(p.File("ZonkyMos.dat"))) << told.toStdString();
    EXPECT_TRUE(told.contains("so this record is lost")) << told.toStdString();
    QCoreApplication::processEvents();  // the queued quit, with no loop to end
}

TEST(Program, ClosingEndsTheGameThenSaysGoodBye) {
    for (bool playing : {false, true}) {
        Shown p;
        if (playing) p.form->New->trigger();
        QString caption;
        p.answers.Then([&](QDialog& dialog) {
            caption = dialog.windowTitle();
            dialog.accept();
        });
        p.form->close();
        EXPECT_FALSE(p.form->isVisible());
        EXPECT_EQ(caption, "Good Bye!") << playing;
        EXPECT_FALSE(p.state().Running);
        EXPECT_EQ(p.form->game().LastResult().GameMode, playing ? kDedadidavaza : 0);
        QCoreApplication::processEvents();  // the queued quit, with no loop to end
    }
}

TEST(GameTimer, ANewIntervalRestartsOnlyWhenItDiffers) {
    int ticks = 0;
    GameTimer timer([&] { ++ticks; });
    timer.SetInterval(200);
    timer.SetEnabled(true);
    QTest::qWait(150);
    timer.SetInterval(200);  // the same: the period goes on
    QTest::qWait(100);
    EXPECT_EQ(ticks, 1);
    timer.SetInterval(300);  // another: starts over
    QTest::qWait(200);
    EXPECT_EQ(ticks, 1);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
}

TEST(Delay, WaitsWhileHandlingEvents) {
    bool handled = false;
    QTimer::singleShot(20, [&] { handled = true; });
    QElapsedTimer clock;
    clock.start();
    Delay(120);
    EXPECT_GE(clock.elapsed(), 120);
    EXPECT_TRUE(handled);
}

TEST(GameView, MapsKeys) {
    EXPECT_EQ(GameView::VirtualKey(Qt::Key_Escape), 27);
    EXPECT_EQ(GameView::VirtualKey(Qt::Key_Space), 32);
    EXPECT_EQ(GameView::VirtualKey(Qt::Key_Left), 37);
    EXPECT_EQ(GameView::VirtualKey(Qt::Key_Up), 38);
    EXPECT_EQ(GameView::VirtualKey(Qt::Key_Right), 39);
    EXPECT_EQ(GameView::VirtualKey(Qt::Key_Down), 40);
    EXPECT_EQ(GameView::VirtualKey(Qt::Key_A), 0);
}

}  // namespace
}  // namespace zonky::test

namespace zonky::test {
namespace {

// Run with QT_SCALE_FACTOR=2 or 3: every pixel of the game becomes a sharp square block.
TEST(HighDensity, TheSurfaceIsScaledByWholePixels) {
    Shown p;
    const qreal ratio = p.form->view().devicePixelRatioF();
    const int k = static_cast<int>(ratio);
    if (k < 2 || k != ratio) GTEST_SKIP() << "needs a whole ratio of 2 or more (QT_SCALE_FACTOR)";
    p.form->New->trigger();
    const QImage screen = p.form->renderer().Compose().image();
    const QImage shown = p.form->view().grab().toImage();
    ASSERT_EQ(shown.size(), screen.size() * k);
    for (int y = 0; y < screen.height(); y += 7)
        for (int x = 0; x < screen.width(); x += 5) {
            const QRgb want = screen.pixel(x, y);
            for (int dy = 0; dy < k; ++dy)
                for (int dx = 0; dx < k; ++dx)
                    ASSERT_EQ(shown.pixel(k * x + dx, k * y + dy), want) << x << "," << y;
        }
}

// At any device pixel ratio (run with several QT_SCALE_FACTORs), what the window shows after
// each step of a game is what a full repaint shows, and the game fills its area.
TEST(HighDensity, EveryStepReachesTheScreen) {
    Shown p;
    GameView& view = p.form->view();
    const qreal ratio = view.devicePixelRatioF();
    const auto expectAsRepainted = [&](const char* step) {
        p.form->timer().SetEnabled(false);
        QTest::qWait(30);  // the updates the step asked for are painted
        const QImage shown = p.OnScreen();
        view.repaint();
        EXPECT_TRUE(shown == p.OnScreen()) << step << " at " << ratio;
        p.form->timer().SetEnabled(true);
    };
    p.form->New->trigger();
    ASSERT_TRUE(WaitFor([&] { return !p.state().NeedPiece; }));
    expectAsRepainted("spawn");
    for (const int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) {
        p.Key(key);
        expectAsRepainted("move or turn");
    }
    SettleFullRow(p.form->game().state, kLastRow, 3);
    SettleFullRow(p.form->game().state, kLastRow - 1, 5);
    p.form->renderer().InvalidateAll();
    view.Sync();
    expectAsRepainted("rows settled");
    p.Key(Qt::Key_Space);
    expectAsRepainted("drop");
    ASSERT_TRUE(WaitFor([&] { return p.state().Lines == 2 && !p.state().NeedPiece; }));
    expectAsRepainted("rows cleared, next piece");
    p.Key(Qt::Key_P);
    expectAsRepainted("pause");
    p.Key(Qt::Key_P);
    expectAsRepainted("resume");
    p.form->Exit1->trigger();
    expectAsRepainted("game over");

    // No frame: the ring of screen pixels just inside the game's area shows the game.
    const QImage shown = p.OnScreen();
    const QRectF area(QPointF(view.geometry().topLeft()) * ratio, QSizeF(view.size()) * ratio);
    const QRect inside =
        QRect(QPoint(static_cast<int>(std::ceil(area.left())) + 1,
                     static_cast<int>(std::ceil(area.top())) + 1),
              QPoint(static_cast<int>(area.right()) - 2, static_cast<int>(area.bottom()) - 2)) &
        shown.rect().adjusted(0, 0, -1, -1);
    int framePixels = 0;
    const auto frame = [&](int x, int y) { framePixels += shown.pixel(x, y) == qRgb(0, 0, 0); };
    for (int x = inside.left(); x <= inside.right(); ++x) {
        frame(x, inside.top());
        frame(x, inside.bottom());
    }
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        frame(inside.left(), y);
        frame(inside.right(), y);
    }
    EXPECT_EQ(framePixels, 0) << "at " << ratio;
}

}  // namespace
}  // namespace zonky::test

namespace zonky::test {
namespace {

// The key P, R or X pressed with a Russian layout active: Qt sees a Cyrillic letter, the
// xkb key code is still the Latin letter's.
void PressPhysical(QWidget& target, int cyrillic, quint32 scanCode, Qt::KeyboardModifiers mods,
                   const QString& text) {
    QKeyEvent press(QEvent::KeyPress, cyrillic, mods, scanCode, 0, 0, text);
    QApplication::sendEvent(&target, &press);
}

TEST(Program, MenuLettersWorkWithARussianLayout) {
    Shown p;
    p.form->New->trigger();
    ASSERT_TRUE(WaitFor([&] { return !p.state().NeedPiece; }));
    PressPhysical(p.form->view(), 0x0437, 33, Qt::NoModifier, QString::fromUtf8("з"));  // P
    EXPECT_TRUE(p.state().Paused);
    PressPhysical(p.form->view(), 0x0437, 33, Qt::NoModifier, QString::fromUtf8("з"));
    EXPECT_TRUE(p.state().Running);
    PressPhysical(p.form->view(), 0x043A, 27, Qt::AltModifier, QString::fromUtf8("к"));  // Alt+R
    EXPECT_TRUE(p.HiScoreForm->isVisible());
    PressPhysical(p.form->view(), 0x0437, 34, Qt::NoModifier, QString::fromUtf8("х"));  // [ key
    EXPECT_TRUE(p.state().Running);
    PressPhysical(p.form->view(), 0x0447, 53, Qt::AltModifier, QString::fromUtf8("ч"));  // Alt+X
    EXPECT_FALSE(p.state().Running);
}

}  // namespace
}  // namespace zonky::test
