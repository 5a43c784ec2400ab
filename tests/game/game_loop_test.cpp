#include <gtest/gtest.h>

#include "game/game.h"
#include "game/pieces.h"
#include "game/random.h"
#include "tests/game/test_support.h"

namespace zonky::test {
namespace {

using Log = std::vector<std::string>;

TEST(NewGame, ResetsTheGameInOrderAndKeepsModeAndDrop) {
    Fixture f;
    GameState& s = f.game.state;
    s.GameMode = kZonky;
    s.Dropping = true;
    s.Paused = true;
    s.Score = 50;
    s.Well.Set(5, 5, 3);
    f.game.NewGame();
    EXPECT_EQ(f.host.Take(), (Log{"gameover hide", "pause hide", "background", "refresh",
                                  "interval 1000", "level 1", "lines 0", "score 0"}));
    EXPECT_TRUE(s.Running);
    EXPECT_FALSE(s.Paused);
    EXPECT_TRUE(s.NeedPiece);
    EXPECT_TRUE(s.Dropping);
    EXPECT_EQ(s.GameMode, kZonky);
    EXPECT_EQ(s.Level, 1);
    EXPECT_EQ(s.Score, 0);
    EXPECT_EQ(s.Well.At(5, 5), kEmpty);
}

TEST(GameTick, FirstTickBringsInTheFirstPieceWithTheSecondInThePreview) {
    Fixture f;
    f.StartGame(kClassic);
    f.random.Append({3, 0});  // first: I, colour 1
    f.random.Append({5, 2});  // second: O, colour 3
    f.game.GameTick();
    const GameState& s = f.game.state;
    EXPECT_EQ(s.CurPiece, Grid({0, E, E, E, 0, E, E, E, 0, E, E, E, 0}));
    EXPECT_EQ(s.NextPiece, Grid({0, 0, E, E, 0, 0}));
    EXPECT_EQ(s.CurColor, 1);
    EXPECT_EQ(s.NextColor, 3);
    EXPECT_EQ(s.PieceCol, 7);
    EXPECT_EQ(s.PieceRow, -3);
    EXPECT_EQ(s.LevelPieces, 1);
    EXPECT_TRUE(s.NextShown);
    EXPECT_FALSE(s.NeedPiece);
    EXPECT_EQ(f.host.Take(), (Log{"preview 3", "save 7 -3", "draw 7 -3 1"}));
    // The next tick is the first fall step.
    f.game.GameTick();
    EXPECT_EQ(s.PieceRow, -2);
}

TEST(GameTick, DoesNothingWithoutARunningGame) {
    Fixture f;
    f.game.GameTick();
    f.StartGame();
    f.game.TogglePause(false);
    f.host.Take();
    f.game.GameTick();
    EXPECT_TRUE(f.host.Take().empty());
    EXPECT_EQ(f.random.Sizes().size(), 0u);
}

TEST(SpawnPosition, DependsOnWidthHeightAndColour) {
    struct Case {
        PieceGrid piece;
        int col, row;
    };
    const Case cases[] = {
        {Single(0), 7, 0},
        {Grid({0, E, E, E, 0}), 7, -1},
        {Grid({0, E, E, E, 0, E, E, E, 0, E, E, E, 0}), 7, -3},
        {Grid({0, 0, E, E, 0, 0}), 6, -1},
        {Grid({0, 0, 0, E, E, 0}), 6, -1},
        {Grid({0, 0, 0, 0}), 5, 0},
    };
    for (const Case& c : cases)
        for (int color : {1, 2, 3, 4, 5, 6, 7, 20}) {
            const SpawnPoint spawn = SpawnPosition(c.piece, color);
            EXPECT_EQ(spawn.col, c.col - (color == 3 || color == 4 ? 1 : 0));
            EXPECT_EQ(spawn.row, c.row);
        }
}

TEST(GameTick, BlockedSpawnEndsTheGameWithoutDrawing) {
    Fixture f;
    f.StartGame(kClassic);
    // The I enters at column 7 rows -3..0; row 1 below it is taken, so it cannot fall.
    f.game.state.Well.Set(1, 7, 0);
    f.game.state.Score = 40;
    f.random.Append({3, 0, 3, 0});
    f.game.GameTick();
    const GameState& s = f.game.state;
    EXPECT_FALSE(s.Running);
    EXPECT_TRUE(s.NeedPiece);
    EXPECT_EQ(f.host.Take(), Log{"gameover"});
    ASSERT_EQ(f.host.results.size(), 1u);
    EXPECT_EQ(f.host.results[0].Score, 40);
    EXPECT_EQ(f.host.results[0].Level, 1);
    EXPECT_EQ(f.host.results[0].GameMode, kClassic);
}

TEST(GameTick, OccupiedHiddenRowsEndTheGameUnlessThePieceIsSpecial) {
    Fixture f;
    f.StartGame(kDedadidavaza);
    GameState& s = f.game.state;
    s.Well.Set(-3, 1, -4);
    s.LevelPieces = 5;
    s.NextPiece = Single(kSpecialCell);
    s.NextColor = kSpecialColor;
    f.random.Append({6});  // the next piece is special too
    f.game.GameTick();
    EXPECT_TRUE(s.Running);
    EXPECT_FALSE(s.NeedPiece);
    EXPECT_EQ(s.CurColor, kSpecialColor);
    // It lands; the special next piece enters as well; the ordinary one after it does not.
    s.NeedPiece = true;
    f.random.Append({0, 5, 0, 0, 0, 0, 0});
    f.game.GameTick();
    EXPECT_TRUE(s.Running);
    s.NeedPiece = true;
    f.random.Append({0, 5, 0, 0, 0, 0, 0});
    f.game.GameTick();
    EXPECT_FALSE(s.Running);
}

TEST(GameTick, NoSpecialPieceBeforeTheLevelHasAPiece) {
    Fixture f;
    f.StartGame(kDedadidavaza);
    // Both first draws hit the special piece, but the level has no piece yet.
    f.random.Append({6, 5, 0, 0, 0, 0, 0});
    f.random.Append({6, 5, 1, 0, 0, 0, 0});
    f.game.GameTick();
    EXPECT_NE(f.game.state.CurColor, kSpecialColor);
    EXPECT_NE(f.game.state.NextColor, kSpecialColor);
    EXPECT_EQ(f.random.Remaining(), 0u);
}

TEST(GameTick, LevelChangePlaysTheLevelSoundFirstAndSpeedsUp) {
    for (bool sound : {true, false}) {
        Fixture f;
        f.game.settings.SoundOn = sound;
        f.StartGame(kClassic);
        GameState& s = f.game.state;
        s.LevelPieces = 80;
        s.Dropping = true;
        s.NextPiece = Single(0);
        s.NextColor = 2;
        f.random.Append({3, 0});
        f.game.GameTick();
        Log expected;
        if (sound) expected.push_back("sound LevelFin sync");
        expected.insert(expected.end(),
                        {"level 2", "interval 600", "preview 1", "save 7 0", "draw 7 0 2"});
        EXPECT_EQ(f.host.Take(), expected);
        EXPECT_EQ(s.Level, 2);
        EXPECT_EQ(s.LevelPieces, 1);
        EXPECT_TRUE(s.Dropping);  // a drop pressed before the spawn stays on
    }
}

TEST(GameTick, SixHundredFortyPiecesWinTheGame) {
    LogHost host;
    SystemRandom random(99);
    Game game(host, random);
    game.state.GameMode = kZonky;
    game.NewGame();
    int spawns = 0;
    int levelSounds = 0;
    for (int tick = 0; tick < 5000 && game.state.Running; ++tick) {
        host.Take();
        game.GameTick();
        for (const std::string& line : host.log) {
            if (line.rfind("preview", 0) == 0) ++spawns;
            if (line == "sound LevelFin sync") ++levelSounds;
        }
        // Every piece lands at once on an empty well.
        if (!game.state.NeedPiece) {
            game.state.NeedPiece = true;
            ASSERT_LE(game.state.LevelPieces, 80);
        }
    }
    EXPECT_EQ(spawns, 640);
    EXPECT_EQ(levelSounds, 8);
    EXPECT_EQ(game.state.Level, kWonLevel);
    EXPECT_FALSE(game.state.Running);
    ASSERT_EQ(host.results.size(), 1u);
    EXPECT_EQ(host.results[0].Level, kWonLevel);
    game.GameTick();
    EXPECT_EQ(host.results.size(), 1u);
}

TEST(StopGame, EndsAPausedGameOnceAndNothingResumesIt) {
    Fixture f;
    f.StartGame();
    f.Place(Single(0), 5, 5);
    f.game.Pause1Click();
    f.host.Take();
    f.game.Exit1Click();
    EXPECT_EQ(f.host.Take(), (Log{"pause hide", "gameover"}));
    EXPECT_FALSE(f.game.state.Running);
    EXPECT_FALSE(f.game.state.Paused);
    f.game.Pause1Click();
    f.game.GameTick();
    f.game.Exit1Click();
    EXPECT_FALSE(f.game.state.Running);
    EXPECT_EQ(f.host.results.size(), 1u);
    EXPECT_TRUE(f.host.Take().empty());
}

TEST(NewClick, EndsAPausedGameThroughGameOverAndStartsUnpaused) {
    Fixture f;
    f.StartGame();
    f.Place(Single(0), 5, 5);
    f.game.Pause1Click();
    f.game.NewClick();
    EXPECT_EQ(f.host.results.size(), 1u);
    EXPECT_TRUE(f.game.state.Running);
    EXPECT_FALSE(f.game.state.Paused);
    // With no game, New only starts one.
    Fixture g;
    g.game.NewClick();
    EXPECT_TRUE(g.host.results.empty());
    EXPECT_TRUE(g.game.state.Running);
}

TEST(ModeItems, EndTheGameInItsOwnModeThenStartTheChosenOne) {
    Fixture f;
    f.StartGame(kZonky);
    f.game.state.Score = 77;
    f.game.Classic1Click();
    ASSERT_EQ(f.host.results.size(), 1u);
    EXPECT_EQ(f.host.results[0].GameMode, kZonky);
    EXPECT_EQ(f.host.results[0].Score, 77);
    EXPECT_EQ(f.game.state.GameMode, kClassic);
    EXPECT_TRUE(f.host.Logged("check 1"));
    // The checked mode again still starts a new game.
    f.host.Take();
    f.game.Classic1Click();
    EXPECT_EQ(f.host.results.size(), 2u);
    EXPECT_TRUE(f.host.Logged("background"));
}

// While the game-over sequence runs (its wait handles window events), a close request waits
// for its end and wins over the commands given meanwhile: no game starts for a closing window.
TEST(GameOver, ACloseDuringTheSequenceWaitsAndDropsItsCommands) {
    Fixture f;
    f.StartGame(kZonky);
    GameState& s = f.game.state;
    s.Score = 120;
    s.Level = 3;
    bool closeNow = true;
    f.host.onGameOver = [&] {
        EXPECT_TRUE(f.game.InGameOver());
        f.game.NewClick();
        f.game.Classic1Click();
        f.game.Dedadidavaza1Click();
        f.game.Exit1Click();
        f.game.Pause1Click();
        f.game.GameTick();
        closeNow = f.game.RequestClose();
        EXPECT_EQ(s.GameMode, kZonky);
        EXPECT_FALSE(s.Running);
        EXPECT_EQ(s.Score, 120);
    };
    f.game.Classic1Click();
    EXPECT_FALSE(closeNow);
    EXPECT_TRUE(f.game.ClosePending());
    EXPECT_FALSE(f.game.InGameOver());
    ASSERT_EQ(f.host.results.size(), 1u);
    EXPECT_EQ(f.game.LastResult().Score, 120);
    EXPECT_EQ(f.game.LastResult().Level, 3);
    EXPECT_EQ(f.game.LastResult().GameMode, kZonky);
    // No new game was started for a window that is about to close.
    EXPECT_FALSE(s.Running);
    EXPECT_FALSE(f.host.Logged("background"));
}

// New and the mode items given during the sequence are carried out once it has ended, on
// the result as it stood; with the command that started the sequence they make one: a new
// game in the last mode chosen. Exit and pause given meanwhile do nothing.
TEST(GameOver, NewAndModeCommandsDuringTheSequenceRunWhenItEnds) {
    using Command = void (Game::*)();
    struct Case {
        Command trigger;  // nullptr: the well is full at the next spawn
        std::vector<Command> during;
        bool running;
        int mode;
    };
    const Case cases[] = {
        {&Game::Exit1Click, {}, false, kDedadidavaza},
        {&Game::Exit1Click, {&Game::NewClick}, true, kDedadidavaza},
        {&Game::Exit1Click, {&Game::Zonky1Click, &Game::NewClick}, true, kZonky},
        {&Game::Classic1Click, {&Game::NewClick, &Game::Exit1Click}, true, kClassic},
        {&Game::Classic1Click, {&Game::Zonky1Click}, true, kZonky},
        {&Game::NewClick, {&Game::Classic1Click}, true, kClassic},
        {nullptr, {&Game::Zonky1Click, &Game::Pause1Click}, true, kZonky},
    };
    for (const Case& c : cases) {
        const std::size_t k = static_cast<std::size_t>(&c - cases);
        Fixture f;
        f.StartGame(kDedadidavaza);
        GameState& s = f.game.state;
        s.Score = 90;
        f.host.onGameOver = [&] {
            for (Command command : c.during) (f.game.*command)();
            f.game.Pause1Click();
            EXPECT_FALSE(s.Running) << k;
            EXPECT_FALSE(s.Paused) << k;
            EXPECT_EQ(s.GameMode, kDedadidavaza) << k;
            EXPECT_FALSE(f.host.Logged("background")) << k;
        };
        if (c.trigger) {
            (f.game.*c.trigger)();
        } else {
            s.Well.Set(0, 6, 0);  // something lies in the hidden rows
            s.LevelPieces = 5;
            s.NextPiece = Grid({0, 0, E, E, 0, 0});
            s.NextColor = 3;
            f.random.Append({3, 0, 0, 0, 0, 0, 0, 0});
            f.game.GameTick();
        }
        ASSERT_EQ(f.host.results.size(), 1u) << k;
        EXPECT_EQ(f.host.results[0].GameMode, kDedadidavaza) << k;
        EXPECT_EQ(f.host.results[0].Score, 90) << k;
        EXPECT_EQ(s.Running, c.running) << k;
        EXPECT_FALSE(s.Paused) << k;
        EXPECT_EQ(s.GameMode, c.mode) << k;
        EXPECT_EQ(f.host.Logged("check " + std::to_string(c.mode)), c.mode != kDedadidavaza) << k;
        if (c.running) {
            EXPECT_EQ(s.Score, 0) << k;
        }
    }
}

TEST(GameOver, CloseOutsideTheSequenceEndsTheGameAtOnce) {
    Fixture f;
    f.StartGame();
    EXPECT_TRUE(f.game.RequestClose());
    EXPECT_EQ(f.host.results.size(), 1u);
    EXPECT_FALSE(f.game.ClosePending());
}

}  // namespace
}  // namespace zonky::test
