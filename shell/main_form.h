// TMainForm: the main window. It owns the game, its picture, its timer and its sound, and
// answers the game's requests as its host: the menu, the keys, minimising, the game-over
// sequence with the records dialogs, and the first-show and closing sequences.
#pragma once

#include <QAction>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>

#include <functional>
#include <memory>
#include <optional>

#include "game/game.h"
#include "game/random.h"
#include "records/hiscore_file.h"
#include "records/hiscore_table.h"
#include "records/replay_store.h"
#include "records/settings_file.h"
#include "render/renderer.h"
#include "shell/game_timer.h"
#include "shell/game_view.h"
#include "shell/mosconst.h"  // the dialogs
#include "shell/replay_player.h"
#include "shell/sound_player.h"

namespace zonky {

class TMainForm;

// The game's host: drawing goes to the renderer, the rest to the window.
class WindowHost : public DrawingHost {
  public:
    WindowHost(Renderer& renderer, TMainForm& form) : DrawingHost(renderer), form_(form) {}
    void SetTimerInterval(int ms) override;
    void PlaySoundEffect(SoundEffect sound, bool wait) override;
    void GameOver(const GameResult& result) override;
    void MinimiseApplication() override;
    void CheckModeItem(int mode) override;

  private:
    TMainForm& form_;
};

class TMainForm : public QMainWindow {
    Q_OBJECT
    friend class WindowHost;

  public:
    explicit TMainForm(std::uint32_t seed = SystemRandom::TimeOfDaySeed());
    ~TMainForm() override;

    // The dialogs at hand, and what makes the rest when one of them is first needed (they
    // then take the language of the moment).
    void AttachDialogs(const Dialogs& dialogs, std::function<Dialogs()> makeTheRest = {}) {
        dialogs_ = dialogs;
        makeTheRest_ = std::move(makeTheRest);
        OfferReplays();
    }

    // The first-show sequence: records, settings, language, the welcome dialog alone; then
    // the window appears, centred on the screen.
    void FormShow();

    Settings& settings() { return game_.settings; }
    HiScoreTable& hiScores() { return hiScores_; }
    Game& game() { return game_; }
    Renderer& renderer() { return renderer_; }
    GameTimer& timer() { return Timer1; }
    GameView& view() { return *view_; }

    // Replays: every game is recorded and kept in the replay folder when it ends; a kept
    // or given one plays in this window while no game runs.
    ReplayRecorder& recorder() { return recorder_; }
    ReplayPlayer& player() { return *player_; }
    ReplayStore& replayStore() { return replayStore_; }
    bool Watching() const { return player_ && player_->Playing(); }
    // Plays a replay file; a file that cannot be played gets one message. Returns whether
    // the playback started.
    bool WatchReplay(const QString& path);
    // A file dropped on the window: one local file is watched once the drop is over.
    // Returns whether the drop was taken.
    bool OpenDropped(const QMimeData& data);
    // The game behind row k of a mode's best players, if its replay is kept.
    std::optional<std::string> ReplayOfRow(int mode, int k) const;

    // The menu items, for the language captions and for tests.
    QMenu* Game1 = nullptr;
    QAction* New = nullptr;
    QAction* Classic1 = nullptr;
    QAction* Dedadidavaza1 = nullptr;
    QAction* Zonky1 = nullptr;
    QAction* Pause1 = nullptr;
    QAction* Options = nullptr;
    QAction* hiScore1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* N5 = nullptr;
    QAction* About1 = nullptr;

    // How long the game-over picture stands before the record check.
    static constexpr int kGameOverWait = 1500;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void CreateMenu();
    void ApplyLanguage();
    void CheckMode(int mode);
    // Runs a game command, then puts its drawing on screen and carries out a close that
    // waited for the game-over sequence.
    template <typename Command>
    void Run(Command command);

    // A menu letter typed with another keyboard layout active (P, Alt+R, Alt+X on a Russian
    // layout) still runs its command: the letter is found from the physical key.
    bool RunShortcutOfPhysicalKey(const QKeyEvent& event);

    // Every dialog, the ones not made yet made now.
    const Dialogs& Needed();
    void OptionsClick();
    void hiScore1Click();
    void About1Click();
    void RunGameOver(const GameResult& result);
    // Writes the replay of the game that just ended, named as the records know it.
    void KeepReplay();
    // The watcher's keys while a replay plays; answers whether the key was theirs.
    bool ReplayKey(int key);
    void EndReplay();
    void ShowReplayCaption();
    void OfferReplays();

    // The host and the game only keep references to each other and to the renderer, so they
    // may be bound before the renderer exists.
    SystemRandom random_;
    SteadyClock clock_;
    ReplayRecorder recorder_;  // the game's generator: it hands on random_'s draws
    WindowHost host_;
    Game game_;
    Renderer renderer_;
    GameTimer Timer1;
    SoundPlayer sound_;
    HiScoreTable hiScores_;
    HiScoreFile hiScoreFile_;
    SettingsFile settingsFile_;
    GameView* view_ = nullptr;
    Dialogs dialogs_;
    std::function<Dialogs()> makeTheRest_;
    bool closing_ = false;
    bool closeRequested_ = false;  // a close is ending the game
    // The save tried by the game-over sequence of a close, which the close does not repeat.
    std::optional<FileWriteResult> closeSave_;
    ReplayStore replayStore_;
    std::optional<std::pair<std::string, int>> entered_;  // name and avatar of the last record
    std::unique_ptr<ReplayPlayer> player_;
};

}  // namespace zonky
