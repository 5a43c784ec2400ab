#include <gtest/gtest.h>

#include "game/game.h"
#include "game/movement.h"
#include "tests/game/test_support.h"

namespace zonky::test {
namespace {

using Log = std::vector<std::string>;
constexpr KeyModifiers kNone{};
constexpr KeyModifiers kShift{true, false, false};

const PieceGrid kEll = Grid({0, E, E, E, 0, E, E, E, 0, 0});  // an L standing up

TEST(Escape, OnlyMinimisesWithoutAGame) {
    Fixture f;
    f.game.Edit1KeyDown(kKeyEscape, kNone);
    EXPECT_EQ(f.host.Take(), Log{"minimise"});
    EXPECT_FALSE(f.game.state.Paused);
}

TEST(Escape, PausesAndMinimisesAFallingPiece) {
    Fixture f;
    f.StartGame();
    f.Place(kEll, 5, 5);
    f.game.Edit1KeyDown(kKeyEscape, kNone);
    EXPECT_EQ(f.host.Take(), (Log{"pause show", "minimise"}));
    EXPECT_TRUE(f.game.state.Paused);
    // Paused already: it minimises again and does not resume.
    f.game.Edit1KeyDown(kKeyEscape, kNone);
    EXPECT_EQ(f.host.Take(), Log{"minimise"});
    EXPECT_TRUE(f.game.state.Paused);
}

TEST(Escape, DoesNothingBetweenALandingAndTheNextSpawn) {
    Fixture f;
    f.StartGame();
    f.game.Edit1KeyDown(kKeyEscape, kNone);
    EXPECT_TRUE(f.host.Take().empty());
    EXPECT_TRUE(f.game.state.Running);
}

TEST(Pause, TogglesAFallingPieceAndIgnoresNoGame) {
    Fixture f;
    f.game.Pause1Click();
    EXPECT_TRUE(f.host.Take().empty());
    f.StartGame();
    f.Place(kEll, 5, 5);
    f.game.Pause1Click();
    EXPECT_TRUE(f.game.state.Paused);
    EXPECT_FALSE(f.game.state.Running);
    f.game.Pause1Click();
    EXPECT_EQ(f.host.Take(), (Log{"pause show", "pause hide"}));
    EXPECT_TRUE(f.game.state.Running);
    EXPECT_EQ(f.game.state.PieceRow, 5);
}

TEST(Pause, IsRefusedBeforeASpawnButAlwaysResumes) {
    Fixture f;
    f.StartGame();
    f.game.Pause1Click();  // NeedPiece: refused
    EXPECT_TRUE(f.game.state.Running);
    // Minimised between a landing and the spawn: paused with NeedPiece still set.
    f.game.HideMainForm();
    EXPECT_TRUE(f.game.state.Paused);
    EXPECT_TRUE(f.game.state.NeedPiece);
    f.game.Pause1Click();
    EXPECT_TRUE(f.game.state.Running);
    EXPECT_FALSE(f.game.state.Paused);
    f.random.Append({0, 5, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0});
    f.game.GameTick();
    EXPECT_FALSE(f.game.state.NeedPiece);  // the game goes on
}

TEST(Minimise, PausesARunningGameAndNeverResumes) {
    Fixture f;
    f.game.HideMainForm();
    EXPECT_FALSE(f.game.state.Paused);
    f.StartGame();
    f.Place(kEll, 5, 5);
    f.game.HideMainForm();
    EXPECT_TRUE(f.game.state.Paused);
    f.game.HideMainForm();
    EXPECT_TRUE(f.game.state.Paused);
    EXPECT_EQ(f.host.Take(), Log{"pause show"});
}

TEST(Keys, NothingButEscapeWorksWhilePaused) {
    Fixture f;
    f.StartGame();
    f.Place(kEll, 5, 5);
    f.game.Pause1Click();
    f.host.Take();
    for (int key : {kKeySpace, kKeyDown, kKeyLeft, kKeyRight, kKeyUp})
        f.game.Edit1KeyDown(key, kNone);
    EXPECT_TRUE(f.host.Take().empty());
    EXPECT_FALSE(f.game.state.Dropping);
    EXPECT_EQ(f.game.state.PieceCol, 5);
}

TEST(Space, StartsAFastDropEvenBeforeTheSpawn) {
    Fixture f;
    f.StartGame();
    f.game.Edit1KeyDown(kKeySpace, kNone);
    EXPECT_EQ(f.host.Take(), (Log{"sound Space async", "interval 100"}));
    EXPECT_TRUE(f.game.state.Dropping);
    f.game.settings.SoundOn = 0;
    f.game.Edit1KeyDown(kKeySpace, kNone);
    EXPECT_EQ(f.host.Take(), Log{"interval 100"});
}

TEST(Down, StepsOnceButNotDuringADrop) {
    Fixture f;
    f.StartGame();
    f.Place(kEll, 5, 5);
    f.game.Edit1KeyDown(kKeyDown, kNone);
    EXPECT_EQ(f.game.state.PieceRow, 6);
    f.game.state.Dropping = true;
    f.game.Edit1KeyDown(kKeyDown, kNone);
    EXPECT_EQ(f.game.state.PieceRow, 6);
    // Down lands a piece that cannot fall.
    f.game.state.Dropping = false;
    f.game.state.PieceRow = 18;
    f.game.Edit1KeyDown(kKeyDown, kNone);
    EXPECT_TRUE(f.game.state.NeedPiece);
}

TEST(LeftRight, MoveWithRestoreSaveDrawOrNotAtAll) {
    Fixture f;
    f.StartGame();
    f.Place(kEll, 2, 5, 4);
    f.game.Edit1KeyDown(kKeyLeft, kNone);
    EXPECT_EQ(f.host.Take(), (Log{"restore 2 5", "save 1 5", "draw 1 5 4"}));
    f.game.Edit1KeyDown(kKeyLeft, kNone);  // the wall
    EXPECT_TRUE(f.host.Take().empty());
    f.game.Edit1KeyDown(kKeyRight, kNone);
    EXPECT_EQ(f.game.state.PieceCol, 2);
    f.game.state.PieceCol = 11;
    f.game.Edit1KeyDown(kKeyRight, kNone);
    EXPECT_EQ(f.game.state.PieceCol, 11);
}

TEST(Up, TurnsCounterClockwiseByDefaultAndShiftAloneInverts) {
    PieceGrid clockwise = kEll;
    RotatePiece(clockwise, 1);
    PieceGrid counter = kEll;
    for (int k = 0; k < 3; ++k) RotatePiece(counter, 1);

    struct Case {
        std::uint8_t setting;
        KeyModifiers modifiers;
        const PieceGrid& expected;
    };
    const Case cases[] = {
        {0, kNone, counter},
        {1, kNone, clockwise},
        {0, kShift, clockwise},
        {1, kShift, counter},
        {0, KeyModifiers{true, true, false}, counter},
        {0, KeyModifiers{true, false, true}, counter},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.StartGame();
        f.game.settings.RotateClockwise = c.setting;
        f.Place(kEll, 5, 5);
        f.game.Edit1KeyDown(kKeyUp, c.modifiers);
        EXPECT_EQ(f.game.state.CurPiece, c.expected);
        EXPECT_EQ(f.game.settings.RotateClockwise, c.setting);
        EXPECT_EQ(f.host.Take(), (Log{"restore 5 5", "save 5 5", "draw 5 5 1"}));
    }
}

TEST(Up, RefusedTurnLeavesPieceAndScreen) {
    Fixture f;
    f.StartGame();
    f.Place(kEll, 11, 5);  // lying flat it would reach the wall
    f.game.Edit1KeyDown(kKeyUp, kNone);
    EXPECT_EQ(f.game.state.CurPiece, kEll);
    EXPECT_TRUE(f.host.Take().empty());
}

TEST(Up, PullsAHiddenPieceDownToRowOneWhenItFits) {
    Fixture f;
    f.StartGame();
    f.Place(kEll, 5, -2);
    f.game.Edit1KeyDown(kKeyUp, kNone);
    EXPECT_EQ(f.game.state.PieceRow, 1);
    EXPECT_EQ(f.host.Take(), (Log{"restore 5 -2", "save 5 1", "draw 5 1 1"}));

    Fixture g;
    g.StartGame();
    g.FillRow(2, 0);
    g.Place(kEll, 5, -2);
    g.game.Edit1KeyDown(kKeyUp, kNone);
    EXPECT_EQ(g.game.state.PieceRow, -2);
    EXPECT_EQ(g.host.Take(), (Log{"restore 5 -2", "save 5 -2", "draw 5 -2 1"}));
}

TEST(Up, SpecialPieceDoesNotTurn) {
    Fixture f;
    f.StartGame();
    f.Place(Single(kSpecialCell), 5, 5, kSpecialColor);
    f.game.Edit1KeyDown(kKeyUp, kNone);
    EXPECT_EQ(f.game.state.CurPiece, Single(kSpecialCell));
}

// After a game has ended nothing resumes it: Escape only minimises, P and minimise do nothing.
TEST(Keys, AfterGameOverOnlyEscapeMinimises) {
    Fixture f;
    f.StartGame();
    f.Place(kEll, 5, 5);
    f.game.Exit1Click();
    f.host.Take();
    f.game.Pause1Click();
    f.game.HideMainForm();
    EXPECT_TRUE(f.host.Take().empty());
    f.game.Edit1KeyDown(kKeyEscape, kNone);
    EXPECT_EQ(f.host.Take(), Log{"minimise"});
    EXPECT_FALSE(f.game.state.Running);
    EXPECT_FALSE(f.game.state.Paused);
}

TEST(Keys, OtherKeysDoNothing) {
    Fixture f;
    f.StartGame();
    f.Place(kEll, 5, 5);
    for (int key : {0, 13, 80, 112, 65535}) f.game.Edit1KeyDown(key, kShift);
    EXPECT_TRUE(f.host.Take().empty());
}

}  // namespace
}  // namespace zonky::test
