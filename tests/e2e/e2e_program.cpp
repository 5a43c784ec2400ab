// zonkymosaro-e2e: the program exactly as shell/main.cpp builds it, plus a control channel
// the end-to-end tests use to prepare the well and to read the game's state. The player's
// program has no such channel; this executable is built only for the tests.
//
//   zonkymosaro-e2e CONTROL_FIFO ANSWER_FIFO
//
// Every line written to CONTROL_FIFO is one command and gets one answer line on
// ANSWER_FIFO: `dump` answers a JSON object; `set`, `piece` and `state` (as zonky-replay
// reads them) change the game and answer "ok"; `late-in-level` and `last-piece` make the
// falling piece the last of its level or of the game; anything else answers "error: ...".
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTabBar>
#include <cerrno>
#include <cstdio>
#include <string>

#include "records/dialogs/dialog_support.h"
#include "records/dialogs/hiscore.h"
#include "records/dialogs/input.h"
#include "records/name_codec.h"
#include "shell/about.h"
#include "shell/display.h"
#include "shell/main_form.h"
#include "shell/options.h"
#include "shell/program.h"
#include "shell/unit1.h"
#include "tests/support/game_invariants.h"
#include "tools/replay/json_writer.h"
#include "tools/replay/replay_session.h"

namespace zonky {
namespace {

struct Windows {
    TMainForm* MainForm;
    TOpForm* OpForm;
    TInputName* InputName;
    THiScoreForm* HiScoreForm;
    TAboutFormRus* AboutFormRus;
    TForm2* Form2;
    TAboutFormEng* AboutFormEng;
};

std::string Utf8(const QString& text) {
    return text.toStdString();
}

std::string Dump(const Windows& w) {
    TMainForm& form = *w.MainForm;
    const Game& game = form.game();
    JsonWriter json;
    json.BeginObject();
    WriteGameState(json, game.state);
    json.Key("invariants");
    json.String(test::CheckInvariants(game.state));
    json.Key("inGameOver");
    json.Bool(game.InGameOver());
    json.Key("closePending");
    json.Bool(game.ClosePending());
    json.Key("settings");
    const Settings& s = game.settings;
    json.String(std::to_string(s.RotateClockwise) + std::to_string(s.MusicOn) +
                std::to_string(s.SoundOn) + std::to_string(s.UiLanguage));
    json.Key("interval");
    json.Int(form.timer().Interval());
    json.Key("timerEnabled");
    json.Bool(form.timer().Enabled());

    json.Key("menuTitle");
    json.String(Utf8(form.Game1->title()));

    json.Key("window");
    json.BeginObject();
    json.Key("visible");
    json.Bool(form.isVisible());
    json.Key("minimised");
    json.Bool(form.isMinimized());
    json.Key("active");
    json.Bool(form.isActiveWindow());
    json.EndObject();

    // The modal dialog on top, if any: the tests answer it.
    const QWidget* modal = QApplication::activeModalWidget();
    json.Key("modal");
    json.String(modal ? modal->metaObject()->className() : "");
    json.Key("modalTitle");
    json.String(modal ? Utf8(modal->windowTitle()) : "");
    json.Key("modalWindow");  // its X window, for xdotool
    json.Int(modal ? static_cast<std::int64_t>(modal->winId()) : 0);
    const auto* message = qobject_cast<const QMessageBox*>(modal);
    json.Key("modalText");
    json.String(message ? Utf8(message->text()) : "");
    // An open menu, and the widget the keys go to.
    const QWidget* popup = QApplication::activePopupWidget();
    json.Key("popup");
    json.String(popup ? popup->metaObject()->className() : "");
    const QWidget* focus = QApplication::focusWidget();
    json.Key("focus");
    json.String(focus ? focus->metaObject()->className() : "");
    json.Key("mainWindow");
    // Asking a window that does not exist yet for its id would create it.
    json.Int(form.testAttribute(Qt::WA_WState_Created) ? static_cast<std::int64_t>(form.winId())
                                                       : 0);

    json.Key("shown");
    json.BeginArray();
    const std::pair<const char*, const QWidget*> dialogs[] = {{"OpForm", w.OpForm},
                                                              {"InputName", w.InputName},
                                                              {"HiScoreForm", w.HiScoreForm},
                                                              {"AboutFormRus", w.AboutFormRus},
                                                              {"Form2", w.Form2},
                                                              {"AboutFormEng", w.AboutFormEng}};
    for (const auto& [name, dialog] : dialogs)
        if (dialog->isVisible()) json.String(name);
    json.EndArray();

    json.Key("inputText");
    json.String(Utf8(w.InputName->Controls().Edit1->text()));

    // The best-players dialog as the player reads it.
    json.Key("hiscoreWindow");
    json.Int(w.HiScoreForm->isVisible() ? static_cast<std::int64_t>(w.HiScoreForm->winId()) : 0);
    json.Key("hiscoreTab");
    json.Int(w.HiScoreForm->Controls().hitable->Tabs()->currentIndex() + 1);
    json.Key("hiscoreRows");
    json.BeginArray();
    for (int k = 1; k <= HiScoreTable::kEntries; ++k) {
        const QLabel* name = w.HiScoreForm->RowLabel(THiScoreForm::NameColumn, k);
        json.BeginArray();
        json.String(Utf8(name->text()));
        json.String(Utf8(w.HiScoreForm->RowLabel(THiScoreForm::LevelColumn, k)->text()));
        json.String(Utf8(w.HiScoreForm->RowLabel(THiScoreForm::ScoreColumn, k)->text()));
        json.Bool(name->font().underline());
        json.EndArray();
    }
    json.EndArray();

    // The table in memory, which the file must match after a save.
    json.Key("table");
    WriteHiScores(json, form.hiScores());
    json.EndObject();
    return json.str();
}

class ControlChannel {
  public:
    ControlChannel(const Windows& windows, int control, int answers)
        : windows_(windows),
          control_(control),
          answers_(answers),
          notifier_(control, QSocketNotifier::Read) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { ReadCommands(); });
    }

  private:
    void ReadCommands() {
        char buffer[4096];
        for (;;) {
            const ssize_t n = read(control_, buffer, sizeof buffer);
            if (n <= 0) break;  // EAGAIN: all read for now
            pending_.append(buffer, static_cast<std::size_t>(n));
        }
        for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
            const std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            Answer(Execute(line));
        }
    }

    std::string Execute(const std::string& line) {
        const std::vector<std::string_view> words = SplitWords(line);
        if (words.empty()) return "error: empty command";
        if (words[0] == "dump") return Dump(windows_);
        TMainForm& form = *windows_.MainForm;
        GameState& state = form.game().state;
        // Jumps ahead for the soak, taken only while a piece falls: before a game's first
        // piece no next piece exists yet, and a level's count means pieces already played.
        if (words[0] == "late-in-level" || words[0] == "last-piece") {
            if (!state.Running || state.NeedPiece) return "skipped";
            state.LevelPieces = kPiecesPerLevel;  // the falling piece is the level's last
            if (words[0] == "last-piece") state.Level = kLastLevel;
            form.game().ShowLevel();
            return "ok";
        }
        try {
            if (!ExecuteStateCommand(form.game().state, words))
                return "error: unknown command '" + std::string(words[0]) + "'";
        } catch (const ReplayError& error) {
            return std::string("error: ") + error.what();
        }
        // The window shows what the state now holds, as after an uncovering.
        form.game().ShowLevel();
        form.game().ShowLines();
        form.game().ShowScore();
        form.renderer().InvalidateAll();
        form.view().Sync();
        return "ok";
    }

    void Answer(std::string line) {
        line += '\n';
        std::size_t done = 0;
        while (done < line.size()) {
            const ssize_t n = write(answers_, line.data() + done, line.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;  // the test has gone
            done += static_cast<std::size_t>(n);
        }
    }

    Windows windows_;
    int control_;
    int answers_;
    QSocketNotifier notifier_;
    std::string pending_;
};

}  // namespace
}  // namespace zonky

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zonkymosaro-e2e CONTROL_FIFO ANSWER_FIFO\n");
        return 2;
    }
    // Both ends open read-write, so neither open waits for the test and no end-of-file
    // arrives when the test closes its side between commands.
    const int control = open(argv[1], O_RDWR | O_NONBLOCK | O_CLOEXEC);
    const int answers = open(argv[2], O_RDWR | O_CLOEXEC);
    if (control < 0 || answers < 0) {
        std::perror("zonkymosaro-e2e: open");
        return 2;
    }

    zonky::ApplicationArguments arguments(argc, argv);
    if (!arguments.found()) return 1;
    QApplication app(arguments.argc(), arguments.argv());
    zonky::SetUpApplication();

    zonky::Program program;
    // The channel reports on every dialog, so here they are all made at the start.
    const zonky::Dialogs dialogs = program.AllDialogs();
    const zonky::ControlChannel channel(
        {&program.MainForm, dialogs.OpForm, dialogs.InputName, dialogs.HiScoreForm,
         dialogs.AboutFormRus, dialogs.Form2, dialogs.AboutFormEng},
        control, answers);
    program.MainForm.FormShow();
    return QApplication::exec();
}
