// The timer-driven game loop: spawning, levels, starting and ending games.
#include <array>

#include "game/game.h"
#include "game/movement.h"
#include "game/pieces.h"

namespace zonky {
namespace {

constexpr std::array<int, kLastLevel> LevelIntervals{1000, 600, 400, 250, 150, 130, 120, 110};

// Clears the game-over flag however the host's sequence ends.
class GameOverScope {
  public:
    explicit GameOverScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~GameOverScope() { flag_ = false; }
    GameOverScope(const GameOverScope&) = delete;
    GameOverScope& operator=(const GameOverScope&) = delete;

  private:
    bool& flag_;
};

}  // namespace

int LevelInterval(int level) {
    if (level < 1) level = 1;
    if (level > kLastLevel) level = kLastLevel;
    return LevelIntervals[level - 1];
}

SpawnPoint SpawnPosition(const PieceGrid& piece, std::int32_t color) {
    constexpr int kCentreColumn = 7;
    const PieceExtent extent = MeasurePiece(piece);
    SpawnPoint spawn{kCentreColumn - extent.width / 2, 1 - extent.height};
    // Colours 3 and 4 enter one column further left, whatever their shape.
    if (color == 3 || color == 4) spawn.col -= 1;
    return spawn;
}

bool HiddenRowsOccupied(const WellGrid& well) {
    for (int r = kTopRow; r < kFirstVisibleRow; ++r)
        for (int c = kFirstColumn; c <= kLastColumn; ++c)
            if (well.At(r, c) != kEmpty) return true;
    return false;
}

void Game::GameTick() {
    GameState& s = state;
    if (!s.Running) return;
    if (!s.NeedPiece) {
        FallStep();
        return;
    }

    if (s.LevelPieces == kPiecesPerLevel) {
        // The level-end sound is heard before the level changes.
        PlaySound(SoundEffect::LevelFin);
        s.Level += 1;
        if (s.Level > kLastLevel) {
            s.Running = false;
            s.Level = kWonLevel;
            RunGameOver();
            CarryOutPendingCommand();
            return;
        }
        ShowLevel();
        s.LevelPieces = 0;
        host_.SetTimerInterval(LevelInterval(s.Level));
    }

    if (s.Level == 1 && s.LevelPieces == 0) {
        s.CurColor = GeneratePiece(s.NextPiece, s.GameMode, s.LevelPieces, random_);
        NormalizePiece(s.NextPiece);
        s.NextColor = s.CurColor;
    }

    s.CurPiece = s.NextPiece;
    const std::int32_t currentColor = s.NextColor;
    s.CurColor = GeneratePiece(s.NextPiece, s.GameMode, s.LevelPieces, random_);
    NormalizePiece(s.NextPiece);
    s.NextShown = true;
    s.NextColor = s.CurColor;
    s.CurColor = currentColor;
    s.LevelPieces += 1;

    const SpawnPoint spawn = SpawnPosition(s.CurPiece, s.CurColor);
    s.PieceCol = spawn.col;
    s.PieceRow = spawn.row;

    // The test looks one row lower than the spawn; the special piece always enters.
    const bool entersWell =
        (PieceFits(s.Well, s.CurPiece, s.PieceCol, s.PieceRow, 0) && !HiddenRowsOccupied(s.Well)) ||
        s.CurColor >= kSpecialColor;
    if (entersWell) {
        host_.DrawPreview(s.NextColor);
        host_.SavePieceBox(s.PieceCol, s.PieceRow);
        host_.DrawPiece(s.CurPiece, s.PieceCol, s.PieceRow, s.CurColor);
        s.NeedPiece = false;
    } else {
        s.Running = false;
        RunGameOver();
        CarryOutPendingCommand();
    }
}

void Game::NewGame() {
    GameState& s = state;
    host_.ShowGameOverImage(false);
    host_.ShowPauseImage(false);
    host_.DrawBackground();
    ClearWell();
    s.Level = 1;
    host_.RefreshSavedBackgrounds();
    s.Paused = false;
    s.Running = true;
    host_.SetTimerInterval(LevelInterval(1));
    s.LevelPieces = 0;
    s.Score = 0;
    s.Lines = 0;
    s.NeedPiece = true;
    ShowLevel();
    ShowLines();
    ShowScore();
    if (observer_) observer_->GameStarted();
}

void Game::StopGame() {
    GameState& s = state;
    if (!s.Running && !s.Paused) return;
    // A paused game ends too: nothing may resume it after its result was taken.
    s.Running = false;
    s.Paused = false;
    host_.ShowPauseImage(false);
    RunGameOver();
}

// New and the mode items end the game in progress and start one. Given while the game-over
// sequence runs, such a command is kept and carried out when the sequence has ended, so the
// result is judged first and the player need not press again. The command that started the
// sequence and those given during it make one: the last mode chosen, or the current one.
void Game::StartCommand(int command) {
    if (command != kNewCommand || !pendingCommand_) pendingCommand_ = command;
    if (inGameOver_) return;
    StopGame();
    CarryOutPendingCommand();
}

void Game::CarryOutPendingCommand() {
    if (!pendingCommand_) return;
    const int command = *pendingCommand_;
    pendingCommand_.reset();
    if (closePending_) return;  // the window closes instead
    if (command != kNewCommand) {
        host_.CheckModeItem(command);
        state.GameMode = command;
    }
    NewGame();
}

void Game::Exit1Click() {
    Notify(GameCall::Exit);
    if (inGameOver_) return;
    StopGame();
    CarryOutPendingCommand();
}

bool Game::RequestClose() {
    Notify(GameCall::Close);
    if (inGameOver_) {
        closePending_ = true;
        return false;
    }
    StopGame();
    pendingCommand_.reset();  // the window closes: no game is started for it
    return true;
}

void Game::RunGameOver() {
    if (inGameOver_) return;
    const GameOverScope scope(inGameOver_);
    lastResult_ = {state.Score, state.Level, state.GameMode};
    if (observer_) observer_->GameEnded();
    host_.GameOver(lastResult_);
}

void Game::PlaySound(SoundEffect sound) {
    if (settings.SoundOn) host_.PlaySoundEffect(sound, sound == SoundEffect::LevelFin);
}

}  // namespace zonky
