#include "shell/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QStyle>

#include <utility>

#include "records/dialogs/hiscore.h"
#include "records/dialogs/input.h"
#include "records/hiscore_file.h"
#include "records/settings_file.h"
#include "shell/about.h"
#include "shell/delay.h"
#include "shell/mosconst.h"
#include "shell/options.h"
#include "shell/unit1.h"
#include "shell/version.h"

namespace zonky {

void WindowHost::SetTimerInterval(int ms) {
    form_.Timer1.SetInterval(ms);
}

void WindowHost::PlaySoundEffect(SoundEffect sound, bool wait) {
    // A blocking sound keeps the window from painting; what was drawn is shown first.
    if (wait) form_.view_->repaint();
    form_.sound_.Play(sound, wait);
}

void WindowHost::GameOver(const GameResult& result) {
    form_.RunGameOver(result);
    form_.KeepReplay();
}

void WindowHost::MinimiseApplication() {
    if (form_.Watching()) return;  // the watcher minimises, not the recorded player
    form_.showMinimized();
}

void WindowHost::CheckModeItem(int mode) {
    form_.CheckMode(mode);
}

TMainForm::TMainForm(std::uint32_t seed)
    : random_(seed),
      recorder_(random_, clock_),
      host_(renderer_, *this),
      game_(host_, recorder_),
      renderer_(game_.state, LoadPictures()),
      Timer1([this] {
          if (!Watching()) Run([this] { game_.Timer1Timer(); });
      }) {
    setWindowTitle("Zonky Mosaro");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    view_ = new GameView(
        renderer_,
        [this](int key, KeyModifiers modifiers) {
            if (Watching() && ReplayKey(key)) return;
            Run([this, key, modifiers] { game_.Edit1KeyDown(key, modifiers); });
        },
        [this](const QKeyEvent& event) { return RunShortcutOfPhysicalKey(event); }, this);
    setCentralWidget(view_);
    CreateMenu();
    CheckMode(game_.state.GameMode);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    view_->setFocus();
    Timer1.SetInterval(kStartTimerInterval);
    Timer1.SetEnabled(true);
    recorder_.Attach(game_);
    player_ = std::make_unique<ReplayPlayer>(
        game_, recorder_,
        // Each call's drawing is completed at once, as between a player's calls, so what is
        // repainted never depends on how fast the replay runs.
        ReplayPlayer::Window{[this](const std::function<void()>& call) {
                                 Run(call);
                                 renderer_.Flush();
                             },
                             [this](bool visible) {
                                 renderer_.ShowPauseImage(visible);
                                 view_->Sync();
                             },
                             [this] { renderer_.InvalidateAll(); }, [this] { ShowReplayCaption(); },
                             [this](ReplayPlayer::End end) {
                                 CheckMode(game_.state.GameMode);
                                 if (end == ReplayPlayer::End::Diverged)
                                     QMessageBox::information(
                                         this, "Zonky Mosaro",
                                         ReplayText(ReplayTextId::Diverged, settings().UiLanguage));
                             }});
    setAcceptDrops(true);
}

TMainForm::~TMainForm() = default;

void TMainForm::CreateMenu() {
    Game1 = menuBar()->addMenu("&Game");
    auto add = [this](const char* caption, const QKeySequence& shortcut, auto handler) {
        QAction* action = Game1->addAction(caption);
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    New = add("New", QKeySequence(Qt::Key_F2), [this] {
        EndReplay();
        Run([this] { game_.NewClick(); });
    });
    Game1->addSeparator();
    Classic1 = add("Classic", QKeySequence(Qt::ALT | Qt::Key_1), [this] {
        EndReplay();
        Run([this] { game_.Classic1Click(); });
    });
    Dedadidavaza1 = add("Dedadidavaza", QKeySequence(Qt::ALT | Qt::Key_2), [this] {
        EndReplay();
        Run([this] { game_.Dedadidavaza1Click(); });
    });
    Zonky1 = add("Zonky", QKeySequence(Qt::ALT | Qt::Key_3), [this] {
        EndReplay();
        Run([this] { game_.Zonky1Click(); });
    });
    for (QAction* mode : {Classic1, Dedadidavaza1, Zonky1}) mode->setCheckable(true);
    Game1->addSeparator();
    Pause1 = add("&Pause", QKeySequence(Qt::Key_P), [this] {
        if (Watching())
            player_->TogglePause();
        else
            Run([this] { game_.Pause1Click(); });
    });
    Game1->addSeparator();
    Options = add("Options", QKeySequence(Qt::Key_F3), [this] { OptionsClick(); });
    Game1->addSeparator();
    hiScore1 = add("HiScore", QKeySequence(Qt::ALT | Qt::Key_R), [this] { hiScore1Click(); });
    Game1->addSeparator();
    Exit1 = add("Exit", QKeySequence(Qt::ALT | Qt::Key_X), [this] {
        EndReplay();
        Run([this] { game_.Exit1Click(); });
    });
    N5 = menuBar()->addMenu("&?");
    About1 = N5->addAction("About");
    connect(About1, &QAction::triggered, this, [this] { About1Click(); });
    // A menu closed by Escape leaves the menu bar holding the keys, where Space would open a
    // menu again: once no menu is open, they go back to the game. Queued, because the bar
    // takes the keys after the menu has gone.
    for (QMenu* menu : {Game1, N5})
        connect(menu, &QMenu::aboutToHide, this, [this] {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (QApplication::activePopupWidget() == nullptr && menuBar()->hasFocus())
                        view_->setFocus();
                },
                Qt::QueuedConnection);
        });
}

// The check mark follows the game's mode: a mode item that was refused (during the game-over
// sequence) must not keep the mark its click gave it.
void TMainForm::CheckMode(int mode) {
    Classic1->setChecked(mode == kClassic);
    Dedadidavaza1->setChecked(mode == kDedadidavaza);
    Zonky1->setChecked(mode == kZonky);
}

template <typename Command>
void TMainForm::Run(Command command) {
    command();
    // A game that started while the window is minimised (New or a mode item given during the
    // game-over wait, then minimising) starts paused, as if minimised while it ran.
    if (isMinimized()) game_.HideMainForm();
    CheckMode(game_.state.GameMode);
    view_->Sync();
    // The sound device is held only while a sound may come.
    sound_.Keep(game_.state.Running && settings().SoundOn != 0);
    if (game_.ClosePending() && !game_.InGameOver() && !closing_)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TMainForm::ApplyLanguage() {
    const LanguageTargets targets{
        dialogs_,
        {Game1, New, Pause1, Classic1, Dedadidavaza1, Zonky1, Options, hiScore1, Exit1, About1}};
    zonky::ApplyLanguage(settings().UiLanguage, targets);
}

void TMainForm::FormShow() {
    hiScores_ = hiScoreFile_.Load().table;
    settings() = settingsFile_.Load();
    ApplyLanguage();
    if (dialogs_.Form2) dialogs_.Form2->exec();
    // The window appears centred on the screen, and its first picture is a full repaint.
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    renderer_.InvalidateAll();
    show();
    view_->setFocus();
}

namespace {

// The letters of the menu's shortcuts by their xkb key codes (evdev code + 8), the same on
// X11 and Wayland whatever layout is active.
struct PhysicalLetter {
    quint32 scanCode;
    Qt::Key key;
};
constexpr PhysicalLetter kShortcutLetters[] = {{33, Qt::Key_P}, {27, Qt::Key_R}, {53, Qt::Key_X}};

}  // namespace

bool TMainForm::RunShortcutOfPhysicalKey(const QKeyEvent& event) {
    if (Watching()) {
        if (event.key() == Qt::Key_Plus || event.key() == Qt::Key_Equal) {
            player_->Faster();
            return true;
        }
        if (event.key() == Qt::Key_Minus || event.key() == Qt::Key_Underscore) {
            player_->Slower();
            return true;
        }
    }
    if (event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z) return false;  // a Latin letter
    const Qt::KeyboardModifiers held =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    for (const PhysicalLetter& letter : kShortcutLetters) {
        if (event.nativeScanCode() != letter.scanCode) continue;
        const QKeySequence typed(QKeyCombination(held, letter.key));
        for (QAction* action : {Pause1, hiScore1, Exit1})
            if (action->shortcut() == typed && action->isEnabled()) {
                action->trigger();
                return true;
            }
    }
    return false;
}

const Dialogs& TMainForm::Needed() {
    if (makeTheRest_) {
        dialogs_ = std::exchange(makeTheRest_, nullptr)();
        ApplyLanguage();
        OfferReplays();
    }
    return dialogs_;
}

void TMainForm::OptionsClick() {
    EndReplay();  // the settings saved must be the player's, not the replay's
    Timer1.SetEnabled(false);
    const std::uint8_t language = settings().UiLanguage;
    if (Needed().OpForm) dialogs_.OpForm->exec();
    if (settings().UiLanguage != language) ApplyLanguage();
    const FileWriteResult saved = settingsFile_.Save(settings());
    Timer1.SetEnabled(true);
    // A file that could not even be created is passed over silently; one that broke off
    // while being written, or was kept as it was, is worth telling.
    if (saved.WorthTelling())
        QMessageBox::warning(this, "Zonky Mosaro",
                             QString("The settings could not be saved to %1: %2")
                                 .arg(kSettingsFileName, QString::fromStdString(saved.reason)));
    view_->setFocus();
}

void TMainForm::hiScore1Click() {
    hiScoreFile_.SavePending(hiScores_);
    if (Needed().HiScoreForm) dialogs_.HiScoreForm->ShowTab(game_.state.GameMode);
}

void TMainForm::About1Click() {
    Timer1.SetEnabled(false);
    Needed();
    if (settings().UiLanguage == 1) {
        if (dialogs_.AboutFormRus) dialogs_.AboutFormRus->exec();
    } else if (dialogs_.AboutFormEng) {
        dialogs_.AboutFormEng->exec();
    }
    Timer1.SetEnabled(true);
    view_->setFocus();
}

// The game-over sequence, judged on the game as it stood when it ended.
void TMainForm::RunGameOver(const GameResult& result) {
    if (Watching()) {  // a replay's end: no wait, no records, no dialogs
        renderer_.ShowGameOverImage(true);
        view_->Sync();
        return;
    }
    renderer_.ShowGameOverImage(true);
    view_->Sync();
    Delay(kGameOverWait);
    // A close tries unsaved results once, after this sequence, within one lock wait.
    const bool closing = closeRequested_ || game_.ClosePending();
    if (!QualifiesForHiScore(hiScores_, result) || !Needed().InputName || !dialogs_.HiScoreForm) {
        if (!closing) hiScoreFile_.SavePending(hiScores_);  // what earlier saves could not store
        return;
    }
    dialogs_.InputName->exec();
    // Merged with what other copies of the game saved meanwhile, with any earlier results
    // no save could store. A failed save keeps the new entry in memory, to be saved at the
    // next chance; the player is told only if it is still unsaved at close.
    const HiScoreRecord record =
        hiScoreFile_.Record(hiScores_, result, dialogs_.InputName->PlayerName().toStdString(),
                            dialogs_.InputName->PlayerAvatar());
    if (closing) closeSave_ = record.save;
    entered_.emplace(dialogs_.InputName->PlayerName().toStdString(),
                     dialogs_.InputName->PlayerAvatar());
    dialogs_.HiScoreForm->ShowTab(result.GameMode);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    EndReplay();
    if (closing_) {
        event->ignore();
        return;
    }
    closeRequested_ = true;
    const bool ended = game_.RequestClose();
    closeRequested_ = false;
    if (!ended) {  // the game-over sequence is running: close when it ends
        event->ignore();
        return;
    }
    closing_ = true;
    view_->Sync();
    // The last chance for results no save could store; a record lost is never lost in silence.
    const int pending = hiScoreFile_.Pending();
    if (!closeSave_) closeSave_ = hiScoreFile_.SavePending(hiScores_);
    if (const auto& failed = closeSave_; failed && !failed->Written())
        QMessageBox::warning(this, "Zonky Mosaro",
                             UnsavedResultsText(settings().UiLanguage, pending,
                                                QDir::current().absoluteFilePath(
                                                    QString::fromStdString(hiScoreFile_.path())),
                                                *failed));
    if (dialogs_.Form2) {
        SetGoodByeTexts(*dialogs_.Form2, settings().UiLanguage);
        dialogs_.Form2->exec();
    }
    event->accept();
    // The program ends even while the best-players dialog is open.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    if (isMinimized()) {
        if (Watching()) {
            if (!player_->Paused()) player_->TogglePause();
            return;
        }
        Run([this] { game_.HideMainForm(); });
    } else {
        // Restoring does not resume; it repaints the whole window.
        renderer_.InvalidateAll();
        view_->Sync();
    }
}

// Replays.

void TMainForm::KeepReplay() {
    std::optional<std::pair<std::string, int>> entered;
    entered.swap(entered_);
    if (!recorder_.Finished()) return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    ReplayHeader header;
    header.program = std::string(kProgramVersion);
    header.date = now.toString(Qt::ISODate).toStdString();
    if (entered) {
        header.player = entered->first;
        header.avatar = entered->second;
    }
    const std::string text = recorder_.Take(header);
    header.mode = recorder_.FinishedHeader().mode;
    header.result = recorder_.FinishedHeader().result;
    // A replay that cannot be written is simply not kept; the game and records go on.
    replayStore_.Save(text, header, now.toString("yyyyMMdd-HHmmss-zzz").toStdString(), hiScores_);
}

std::optional<std::string> TMainForm::ReplayOfRow(int mode, int k) const {
    return replayStore_.Find(hiScores_, mode, k);
}

bool TMainForm::WatchReplay(const QString& path) {
    const std::uint8_t language = settings().UiLanguage;
    if (game_.state.Running || game_.state.Paused || game_.InGameOver()) {
        QMessageBox::information(this, "Zonky Mosaro",
                                 ReplayText(ReplayTextId::GameRunning, language));
        return false;
    }
    EndReplay();
    const ReplayFileRead read = ReadReplayFile(path.toStdString());
    ReplayParse parse;
    if (read.problem == ReplayProblem::None)
        parse = ParseReplay(read.text);
    else
        parse.problem = read.problem;
    if (!parse.replay) {
        QMessageBox::warning(
            this, "Zonky Mosaro",
            ReplayText(ReplayTextId::NotAReplay, language)
                .arg(QFileInfo(path).fileName(),
                     ReplayProblemText(parse.problem, parse.line, parse.error, language)));
        return false;
    }
    player_->Start(std::move(*parse.replay));
    view_->setFocus();
    return true;
}

void TMainForm::OfferReplays() {
    if (!dialogs_.HiScoreForm) return;
    dialogs_.HiScoreForm->OfferReplays(
        {[this](int mode) { return replayStore_.RowsWithReplay(hiScores_, mode); },
         [this](int mode, int k) {
             if (const std::optional<std::string> path = ReplayOfRow(mode, k))
                 WatchReplay(QString::fromStdString(*path));
         },
         [this] { return ReplayText(ReplayTextId::RowTooltip, settings().UiLanguage); },
         [this] { return ReplayText(ReplayTextId::Watch, settings().UiLanguage); }});
}

void TMainForm::EndReplay() {
    if (Watching()) player_->Stop();
}

bool TMainForm::ReplayKey(int key) {
    if (key == kKeyEscape) {
        EndReplay();
        return false;  // then it pauses and minimises as always
    }
    if (key == kKeyRight) player_->Step();
    return true;
}

void TMainForm::ShowReplayCaption() {
    if (!Watching()) {
        setWindowTitle("Zonky Mosaro");
        return;
    }
    const std::uint8_t language = settings().UiLanguage;
    const std::string& player = player_->Header().player;
    QString caption =
        player.empty()
            ? ReplayText(ReplayTextId::Replay, language)
            : ReplayText(ReplayTextId::GameOf, language).arg(QString::fromStdString(player));
    caption += QString(" (%1x").arg(player_->Speed());
    if (player_->Paused()) caption += ", " + ReplayText(ReplayTextId::Paused, language);
    setWindowTitle(caption + ")");
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    if (OpenDropped(*event->mimeData())) event->acceptProposedAction();
}

bool TMainForm::OpenDropped(const QMimeData& data) {
    const QList<QUrl> urls = data.urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return false;
    const QString path = urls.front().toLocalFile();
    // Not inside the drop: the message box would hold the dragging application.
    QMetaObject::invokeMethod(
        this, [this, path] { WatchReplay(path); }, Qt::QueuedConnection);
    return true;
}

}  // namespace zonky
