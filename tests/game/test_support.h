// The engine's test fixture: a game over a host that records every request and a scripted
// Random.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/ports.h"
#include "game/random.h"
#include "game/recording_host.h"
#include "tests/support/piece_grids.h"

namespace zonky::test {

// Records every request; keeps the results of the games that ended and can act inside the
// game-over sequence.
class LogHost : public RecordingHost {
  public:
    void GameOver(const GameResult& result) override {
        results.push_back(result);
        RecordingHost::GameOver(result);
        if (onGameOver) onGameOver();
    }

    std::vector<GameResult> results;
    std::function<void()> onGameOver;  // runs inside the game-over sequence
};

inline constexpr std::int32_t E = kEmpty;

// A game with a fresh well and a running game, no piece in play yet.
struct Fixture {
    LogHost host;
    ScriptedRandom random;
    Game game{host, random};

    Fixture() { game.settings = Settings{}; }

    void StartGame(int mode = kDedadidavaza) {
        game.state.GameMode = mode;
        game.NewGame();
        host.Take();
    }
    // Puts a falling piece into a running game directly.
    void Place(const PieceGrid& piece, int col, int row, int color = 1) {
        PlaceFallingPiece(game.state, piece, col, row, color);
    }
    void FillRow(int row, int gapColumn = 0) {
        for (int c = kFirstColumn; c <= kLastColumn; ++c)
            if (c != gapColumn) game.state.Well.Set(row, c, kFull);
    }
};

}  // namespace zonky::test

namespace zonky::test {

// Every code a well cell may hold, and every piece cell code.
inline const std::vector<std::int32_t> kWellCodes{250, -6, -5, -4, -3, -2, -1, 0,
                                                  1,   2,  3,  4,  5,  6,  7,  8};
inline const std::vector<std::int32_t> kPieceCodes{-6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6};

}  // namespace zonky::test
