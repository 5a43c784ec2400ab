// Keyboard control and pause.
#include "game/game.h"
#include "game/movement.h"

namespace zonky {

void Game::Edit1KeyDown(int key, KeyModifiers modifiers) {
    Notify(GameCall::Key, key, modifiers);
    GameState& s = state;
    // Escape hides the game at once, except in the instant between a landing and a spawn.
    if (key == kKeyEscape && !(s.Running && s.NeedPiece)) {
        TogglePause(true);
        host_.MinimiseApplication();
    }
    if (!s.Running) return;

    if (key == kKeySpace) {
        PlaySound(SoundEffect::Space);
        s.Dropping = true;
        host_.SetTimerInterval(kDropInterval);
    }
    if (key == kKeyDown && !s.Dropping && !s.NeedPiece) FallStep();
    if (key == kKeyLeft && !s.NeedPiece &&
        CanShift(s.Well, s.CurPiece, s.PieceCol, s.PieceRow, true))
        MovePiece(-1);
    if (key == kKeyRight && !s.NeedPiece &&
        CanShift(s.Well, s.CurPiece, s.PieceCol, s.PieceRow, false))
        MovePiece(1);
    if (key == kKeyUp && !s.NeedPiece) RotateCommand(modifiers);
}

void Game::MovePiece(int columns) {
    GameState& s = state;
    host_.RestorePieceBox(s.PieceCol, s.PieceRow);
    s.PieceCol += columns;
    host_.SavePieceBox(s.PieceCol, s.PieceRow);
    host_.DrawPiece(s.CurPiece, s.PieceCol, s.PieceRow, s.CurColor);
}

void Game::RotateCommand(KeyModifiers modifiers) {
    GameState& s = state;
    // Shift alone turns the other way for this press; with Ctrl or Alt it does not.
    const bool invert = modifiers.shift && !modifiers.ctrl && !modifiers.alt;
    const bool clockwise = (settings.RotateClockwise != 0) != invert;

    const PieceGrid before = s.CurPiece;
    RotatePiece(s.CurPiece, s.CurColor);
    if (!clockwise) {
        RotatePiece(s.CurPiece, s.CurColor);
        RotatePiece(s.CurPiece, s.CurColor);
    }
    if (!PieceFits(s.Well, s.CurPiece, s.PieceCol, s.PieceRow, 1)) {
        s.CurPiece = before;
        return;
    }

    host_.RestorePieceBox(s.PieceCol, s.PieceRow);
    // A piece still in the hidden rows is pulled into view when it is turned, if it fits.
    if (s.PieceRow < kFirstVisibleRow) {
        const int remembered = s.PieceRow;
        s.PieceRow = kFirstVisibleRow;
        if (!PieceFits(s.Well, s.CurPiece, s.PieceCol, s.PieceRow, 1)) s.PieceRow = remembered;
    }
    host_.SavePieceBox(s.PieceCol, s.PieceRow);
    host_.DrawPiece(s.CurPiece, s.PieceCol, s.PieceRow, s.CurColor);
}

void Game::TogglePause(bool PauseOnly) {
    GameState& s = state;
    if (s.Paused && !PauseOnly) {
        s.Running = true;
        host_.ShowPauseImage(false);
        s.Paused = false;
    } else if (s.Running) {
        s.Paused = true;
        s.Running = false;
        host_.ShowPauseImage(true);
    }
}

void Game::Pause1Click() {
    Notify(GameCall::Pause);
    if (inGameOver_) return;
    // Resuming is always allowed; only pausing waits for the next piece to enter.
    if (state.Paused || !state.NeedPiece) TogglePause(false);
}

}  // namespace zonky
