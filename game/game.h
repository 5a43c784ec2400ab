// The game object: the main window's game handlers and the procedures that drive the host.
// The rules are in pieces.h and movement.h; this class sequences them and tells the host
// what to draw, play and show.
#pragma once

#include <cstdint>
#include <optional>

#include "game/game_state.h"
#include "game/ports.h"
#include "game/settings.h"

namespace zonky {

// Virtual-key codes of the keys the game reads.
enum VirtualKey : int {
    kKeyEscape = 27,
    kKeySpace = 32,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40
};

struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

inline constexpr int kStartTimerInterval = 100;
inline constexpr int kDropInterval = 100;

// The fall interval of a level; levels outside 1..8 use the nearest one.
int LevelInterval(int level);

// Round to nearest, halves to even, in extended precision.
std::int64_t RoundHalfEven(long double value);

// The score as the window shows it and the best-players table keeps it.
std::int64_t ShownScore(std::int32_t score);

// Points for a landing or for removed rows at a level: Round(sqrt(level) x points).
std::int32_t LevelPoints(std::int32_t level, std::int32_t points);

// Where a new piece enters: its lowest row in well row 0, centred by its width.
struct SpawnPoint {
    int col = 0;
    int row = 0;
};
SpawnPoint SpawnPosition(const PieceGrid& piece, std::int32_t color);

bool HiddenRowsOccupied(const WellGrid& well);

// The calls that come into the game from outside: the window's handlers.
enum class GameCall : std::uint8_t { Tick, New, Mode, Exit, Key, Pause, Minimise, Close };

// Told of every call from outside as it arrives, before it runs, and of each game's start
// and end. The replay recorder is one; the game runs the same with or without it.
class GameObserver {
  public:
    virtual ~GameObserver() = default;
    virtual void Called(GameCall call, int value, KeyModifiers modifiers) = 0;
    virtual void GameStarted() = 0;
    virtual void GameEnded() = 0;
};

class Game {
  public:
    Game(Host& host, Random& random) : host_(host), random_(random) {}
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    GameState state;
    Settings settings;

    void SetObserver(GameObserver* observer) { observer_ = observer; }

    // Window handlers.
    void Timer1Timer() {
        Notify(GameCall::Tick);
        GameTick();
    }
    void NewClick() {
        Notify(GameCall::New);
        StartCommand(kNewCommand);
    }
    void Classic1Click() { ModeClick(kClassic); }
    void Dedadidavaza1Click() { ModeClick(kDedadidavaza); }
    void Zonky1Click() { ModeClick(kZonky); }
    // The mode item of `mode` (kClassic .. kZonky), as scripts name it by number.
    void ModeClick(int mode) {
        Notify(GameCall::Mode, mode);
        StartCommand(mode);
    }
    void Exit1Click();
    void Edit1KeyDown(int key, KeyModifiers modifiers);
    void Pause1Click();
    void HideMainForm() {
        Notify(GameCall::Minimise);
        TogglePause(true);
    }

    // Closing the window: ends a game at once, or, while the game-over sequence runs, when
    // that has finished. Returns whether the window may close now.
    bool RequestClose();
    bool ClosePending() const { return closePending_; }
    bool InGameOver() const { return inGameOver_; }
    const GameResult& LastResult() const { return lastResult_; }

    // Game flow.
    void GameTick();
    void NewGame();
    void StopGame();

    // Landing, rows and score.
    void FallStep();
    void FixPiece(const PieceGrid& piece, int col, int row);
    void ClearFullRows();
    void ClearWell();
    void ShowLevel();
    void ShowLines();
    void ShowScore();

    // Keys and pause.
    void TogglePause(bool PauseOnly);
    void RotateCommand(KeyModifiers modifiers);

  private:
    // New, or the game mode a mode item chooses.
    static constexpr int kNewCommand = 0;
    void StartCommand(int command);
    void Notify(GameCall call, int value = 0, KeyModifiers modifiers = {}) {
        if (observer_) observer_->Called(call, value, modifiers);
    }
    void CarryOutPendingCommand();
    void RunGameOver();
    void PlaySound(SoundEffect sound);
    void MovePiece(int columns);
    void AddScore(std::int32_t points);

    Host& host_;
    Random& random_;
    bool inGameOver_ = false;
    bool closePending_ = false;
    std::optional<int> pendingCommand_;
    GameResult lastResult_;
    GameObserver* observer_ = nullptr;
};

}  // namespace zonky
