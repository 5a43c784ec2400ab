// The game recorded is the game played back: a game played through the real window is kept
// as a replay, opened from its best-players row, and played at 1x and 8x (with pause and
// steps) to the same state and picture; a replay that leaves its game, and every file that
// is no replay, get one message.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>

#include <sys/stat.h>

#include "tests/shell/program_support.h"

namespace zonky::test {
namespace {

struct Final {
    std::string well;
    ReplayTally tally;
    QImage picture;
};

Final FinalOf(TMainForm& form) {
    Final f;
    const GameState& s = form.game().state;
    for (int r = kTopRow; r <= kFloorRow; ++r)
        for (int c = kLeftWall; c <= kRightWall; ++c)
            f.well += std::to_string(s.Well.At(r, c)) + ",";
    for (std::int32_t code : s.CurPiece.cells) f.well += std::to_string(code) + ";";
    f.well += std::to_string(s.PieceCol) + "/" + std::to_string(s.PieceRow);
    f.tally = TallyOf(s);
    // As the window shows it after any expose: a full repaint from the state, overlays and
    // counters included.
    form.renderer().InvalidateAll();
    form.renderer().Flush();
    f.picture = form.renderer().Compose().image().copy();
    return f;
}

void ExpectSame(const Final& a, const Final& b) {
    EXPECT_EQ(a.well, b.well);
    EXPECT_EQ(a.tally, b.tally);
    EXPECT_TRUE(a.picture == b.picture);
}

struct Recorded : ProgramInTempDir {
    Recorded() {
        form->FormShow();
        QApplication::setActiveWindow(form);
        form->view().setFocus();
    }
    // Each call is painted before the next, as a player's calls are.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&form->view(), key, modifiers);
        form->renderer().Flush();
    }
    void Ticks(int n) {
        for (int k = 0; k < n; ++k) {
            form->game().Timer1Timer();
            form->renderer().Flush();
        }
    }
    void Command(QAction* action) {
        action->trigger();
        form->renderer().Flush();
    }
    // Plays one Zonky game with every kind of call and ends it with F2, entering a record;
    // the state and picture are taken as the game ends.
    void PlayAndEnd() {
        answers.Then([this](QDialog& dialog) {
            original = FinalOf(*form);
            dialog.findChild<QLineEdit*>()->setText("Anna");
            dialog.accept();
        });
        form->Zonky1->trigger();
        for (int piece = 0; piece < 6; ++piece) {
            Ticks(2);
            Key(Qt::Key_Left);
            Key(Qt::Key_Up);
            Key(Qt::Key_Up, Qt::ShiftModifier);
            if (piece == 2) {
                form->settings().RotateClockwise ^= 1;  // as the Options dialog sets it
                Command(form->Pause1);
                Ticks(3);
                Command(form->Pause1);
                form->showMinimized();
                WaitFor([this] { return form->game().state.Paused; });
                form->showNormal();
                Command(form->Pause1);
            }
            if (piece == 4) {
                Key(Qt::Key_Escape);  // pauses and minimises
                form->showNormal();
                Command(form->Pause1);
            }
            Key(piece % 2 ? Qt::Key_Right : Qt::Key_Left);
            Key(Qt::Key_Down);
            Key(Qt::Key_Space);
            Ticks(25);
        }
        Ticks(1);
        form->New->trigger();
        form->Exit1->trigger();  // the second game: no record, its replay among the others
    }
    QStringList Files() const {
        return QDir(dir.filePath(kReplayFolderName)).entryList(QDir::Files, QDir::Name);
    }
    Final original;
};

TEST(Replay, TheGameRecordedIsTheGamePlayedBack) {
    Recorded p;
    p.PlayAndEnd();
    ASSERT_EQ(p.Files().size(), 2);
    ASSERT_GT(p.original.tally.pieces, 5);

    // 1x, opened from the game's row of the best-players dialog.
    p.HiScoreForm->ShowTab(kZonky);
    ASSERT_TRUE(p.HiScoreForm->RowLabel(THiScoreForm::NameColumn, 1)->toolTip().size() > 0);
    EXPECT_TRUE(p.HiScoreForm->RowLabel(THiScoreForm::NameColumn, 2)->toolTip().isEmpty());
    ASSERT_TRUE(p.HiScoreForm->WatchRow(1));
    EXPECT_FALSE(p.HiScoreForm->isVisible());
    ASSERT_TRUE(p.form->Watching());
    EXPECT_EQ(p.form->windowTitle(), "Zonky Mosaro: game of Anna (1x)");
    const std::size_t dialogs = p.answers.seen.size();
    ASSERT_TRUE(WaitFor([&] { return !p.form->Watching(); }, 20000));
    ExpectSame(FinalOf(*p.form), p.original);
    EXPECT_EQ(p.form->windowTitle(), "Zonky Mosaro");
    QTest::qWait(20);
    EXPECT_EQ(p.answers.seen.size(), dialogs);  // no message: it played to its end

    // 8x, paused and stepped on the way: the same game.
    const std::string file = *p.form->ReplayOfRow(kZonky, 1);
    ASSERT_TRUE(p.form->WatchReplay(QString::fromStdString(file)));
    p.form->Pause1->trigger();
    for (int k = 0; k < 12; ++k) p.Key(Qt::Key_Right);
    for (int k = 0; k < 3; ++k) p.Key(Qt::Key_Plus);
    EXPECT_EQ(p.form->windowTitle(), "Zonky Mosaro: game of Anna (8x, paused)");
    p.form->Pause1->trigger();
    // Speed changed all the way, down to 4x and back.
    ASSERT_TRUE(WaitFor(
        [&] {
            p.Key(Qt::Key_Minus);
            p.Key(Qt::Key_Plus);
            return !p.form->Watching();
        },
        20000));
    ExpectSame(FinalOf(*p.form), p.original);

    // Watching wrote nothing and left no game running; the records hold only Anna's game.
    EXPECT_EQ(p.Files().size(), 2);
    EXPECT_FALSE(p.form->game().state.Running);
    EXPECT_EQ(p.form->hiScores().Name(kZonky, 2), "");
}

TEST(Replay, EndsWithF2AndLeavesTheWatchersSettings) {
    Recorded p;
    p.PlayAndEnd();
    p.form->settings().RotateClockwise = 0;
    p.HiScoreForm->ShowTab(kZonky);
    ASSERT_TRUE(p.HiScoreForm->WatchRow(1));
    p.form->Pause1->trigger();
    while (p.form->Watching() && p.form->settings().RotateClockwise == 0) p.Key(Qt::Key_Right);
    ASSERT_TRUE(p.form->Watching());  // the turning direction changed mid-game
    p.form->New->trigger();           // ends the playback, then starts a game as always
    EXPECT_FALSE(p.form->Watching());
    EXPECT_TRUE(p.form->game().state.Running);
    EXPECT_EQ(p.form->settings().RotateClockwise, 0);
    EXPECT_EQ(p.form->game().state.GameMode, kZonky);
}

// A file dropped on the window plays; while a game runs, it is refused with a message.
TEST(Replay, ADroppedFilePlaysOnlyWhileNoGameRuns) {
    Recorded p;
    p.PlayAndEnd();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(*p.form->ReplayOfRow(kZonky, 1)))});
    p.Command(p.form->Classic1);
    const std::size_t seen = p.answers.seen.size();
    ASSERT_TRUE(p.form->OpenDropped(data));
    EXPECT_TRUE(WaitFor([&] { return p.answers.seen.size() == seen + 1; }));
    EXPECT_FALSE(p.form->Watching());
    EXPECT_TRUE(p.form->game().state.Running);
    p.form->game().state.Score = 0;  // no record, no name to ask
    p.Command(p.form->Exit1);
    ASSERT_TRUE(p.form->OpenDropped(data));
    EXPECT_TRUE(WaitFor([&] { return p.form->Watching(); }));
    EXPECT_EQ(p.answers.seen.size(), seen + 1);
}

// A file that leaves its game, and every file that is no replay: one message each, in the
// player's language, no playback, nothing written.
TEST(Replay, BadFilesAndDivergingReplaysGetOneMessage) {
    Recorded p;
    p.PlayAndEnd();
    const QString good = QString::fromStdString(*p.form->ReplayOfRow(kZonky, 1));
    QFile in(good);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray text = in.readAll();
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile out(p.File(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return p.File(name);
    };
    // One draw more at the start: another game from there on.
    QByteArray diverging = text;
    diverging.insert(diverging.indexOf("\ndraws ") + 7, "3 ");
    QDir(p.dir.path()).mkdir("folder");
    ASSERT_EQ(mkfifo(p.File("fifo").toLocal8Bit().constData(), 0600), 0);
    QFile::link("/dev/zero", p.File("device"));
    const QString files[] = {
        write("diverging", diverging),
        write("text", "hello\n"),
        write("truncated", text.left(text.size() / 2)),
        write("long", text.left(text.indexOf("\nmode")) + "\ntick " + QByteArray(70000, '1')),
        write("billions", text.left(text.indexOf("\nmode")) + "\nmode 3\ntick 3000000000\n"),
        p.File("folder"),
        p.File("fifo"),
        p.File("device"),
        p.File("missing"),
    };
    const QStringList before = QDir(p.dir.path()).entryList();
    for (const std::uint8_t language : {0, 1})
        for (const QString& file : files) {
            p.form->settings().UiLanguage = language;
            const std::size_t seen = p.answers.seen.size();
            QString message;
            p.answers.Then([&](QDialog& dialog) {
                message = qobject_cast<QMessageBox*>(&dialog)->text();
                dialog.accept();
            });
            if (p.form->WatchReplay(file)) WaitFor([&] { return !p.form->Watching(); }, 20000);
            WaitFor([&] { return p.answers.seen.size() > seen; }, 3000);
            EXPECT_EQ(p.answers.seen.size(), seen + 1) << file.toStdString();
            EXPECT_FALSE(p.form->Watching());
            if (language == 1) {
                // Nothing left in English but the names.
                QString words = message;
                words.remove(QFileInfo(file).fileName()).remove("Zonky Mosaro");
                EXPECT_FALSE(words.contains(QRegularExpression("[A-Za-z]")))
                    << message.toStdString();
            } else if (file.endsWith("diverging")) {
                EXPECT_TRUE(message.contains("does not match its game")) << message.toStdString();
            } else {
                EXPECT_TRUE(message.contains("cannot be played")) << message.toStdString();
            }
        }
    EXPECT_EQ(QDir(p.dir.path()).entryList(), before);
    EXPECT_EQ(p.Files().size(), 2);
}

}  // namespace
}  // namespace zonky::test
