#include <gtest/gtest.h>

#include "game/game.h"
#include "tests/game/test_support.h"

namespace zonky::test {
namespace {

using Log = std::vector<std::string>;

TEST(Scoring, RoundsHalvesToEven) {
    EXPECT_EQ(ShownScore(5), 8);
    EXPECT_EQ(ShownScore(15), 22);
    EXPECT_EQ(ShownScore(17), 26);
    EXPECT_EQ(ShownScore(0), 0);
    EXPECT_EQ(RoundHalfEven(2.5L), 2);
    EXPECT_EQ(RoundHalfEven(3.5L), 4);
    EXPECT_EQ(RoundHalfEven(-2.5L), -2);
    EXPECT_EQ(LevelPoints(2, 17), 24);
    EXPECT_EQ(LevelPoints(2, 200), 283);
    EXPECT_EQ(LevelPoints(8, 400), 1131);
    EXPECT_EQ(LevelPoints(1, 400), 400);
    EXPECT_EQ(LevelPoints(0, 21), 0);
    EXPECT_EQ(LevelPoints(-3, 21), 0);
}

TEST(FallStep, MovesThePieceWithRestoreSaveDraw) {
    Fixture f;
    f.StartGame();
    f.Place(Single(3), 4, 2, 6);
    f.game.FallStep();
    EXPECT_EQ(f.game.state.PieceRow, 3);
    EXPECT_EQ(f.host.Take(), (Log{"restore 4 2", "save 4 3", "draw 4 3 6"}));
}

TEST(FallStep, LandingWithoutRowsScoresThePieceOnly) {
    Fixture f;
    f.StartGame();
    f.game.state.Level = 2;
    f.game.state.Dropping = true;
    f.Place(Grid({0, 0}), 3, 20, 3);
    f.game.FallStep();
    const GameState& s = f.game.state;
    EXPECT_EQ(f.host.Take(), (Log{"sound Upal async", "score 36", "interval 600"}));
    EXPECT_EQ(s.Score, 24);
    EXPECT_EQ(s.Lines, 0);
    EXPECT_TRUE(s.NeedPiece);
    EXPECT_FALSE(s.Dropping);
    EXPECT_EQ(s.Well.At(20, 3), 0);
    EXPECT_EQ(s.Well.At(20, 4), 0);
    EXPECT_EQ(s.WellLayers.At(20, 4).count, 1);
    EXPECT_EQ(s.WellLayers.At(20, 4).slot[0], (Layer{0, 3}));
    // The piece is not redrawn; a second step does nothing until the next spawn.
    f.game.FallStep();
    EXPECT_TRUE(f.host.Take().empty());
}

TEST(FixPiece, MergesComplementaryPartsAndKeepsBothLayers) {
    Fixture f;
    f.StartGame();
    GameState& s = f.game.state;
    s.Well.Set(20, 5, -2);
    *s.WellLayers.Find(20, 5) = CellLayers{1, {Layer{-2, 3}}};
    s.CurColor = 5;
    f.game.FixPiece(Single(-1), 5, 20);
    EXPECT_EQ(s.Well.At(20, 5), kRL);
    EXPECT_EQ(s.WellLayers.At(20, 5).count, 2);
    EXPECT_EQ(s.WellLayers.At(20, 5).slot[1], (Layer{-1, 5}));
    // A top quarter then makes the square with a notch in the bottom.
    f.game.FixPiece(Single(-4), 5, 20);
    EXPECT_EQ(s.Well.At(20, 5), 3);
    EXPECT_EQ(s.WellLayers.At(20, 5).count, 3);
}

TEST(FixPiece, KeepsAtMostEightLayersButStillMerges) {
    Fixture f;
    f.StartGame();
    GameState& s = f.game.state;
    CellLayers full;
    full.count = kMaxLayers;
    for (Layer& layer : full.slot) layer = {-3, 2};
    *s.WellLayers.Find(20, 6) = full;
    s.Well.Set(20, 6, -3);
    const CellLayers neighbour = s.WellLayers.At(20, 7);
    s.CurColor = 4;
    f.game.FixPiece(Single(3), 6, 20);
    EXPECT_EQ(s.Well.At(20, 6), 0);  // 3 and -3 merged
    EXPECT_EQ(s.WellLayers.At(20, 6), full);
    EXPECT_EQ(s.WellLayers.At(20, 7), neighbour);
}

TEST(FixPiece, StoresHiddenRowsAndNeverWritesWalls) {
    Fixture f;
    f.StartGame();
    GameState& s = f.game.state;
    s.CurColor = 2;
    f.game.FixPiece(Grid({0, 0}), 12, -3);
    EXPECT_EQ(s.Well.At(-3, 12), 0);
    EXPECT_EQ(s.WellLayers.At(-3, 12).count, 1);
    EXPECT_EQ(s.WellLayers.At(-3, 13).count, 0);  // the wall has no layers
}

TEST(ClearFullRows, RemovesRowsAroundAGapHighestFirst) {
    Fixture f;
    f.StartGame();
    GameState& s = f.game.state;
    f.FillRow(20);
    f.FillRow(18);
    f.FillRow(19, 7);  // one gap: stays
    s.Well.Set(17, 2, -4);
    *s.WellLayers.Find(17, 2) = CellLayers{1, {Layer{-4, 6}}};
    s.Well.Set(0, 5, 0);  // hidden rows never move

    f.game.ClearFullRows();
    EXPECT_EQ(f.host.Take(),
              (Log{"sound Fire async", "lines 2", "score 300", "shift 18", "shift 20"}));
    EXPECT_EQ(s.Lines, 2);
    EXPECT_EQ(s.Score, 200);
    for (int c = 1; c <= 12; ++c) EXPECT_EQ(s.Well.At(20, c), c == 7 ? kEmpty : 0) << c;
    EXPECT_EQ(s.Well.At(19, 2), -4);  // two rows down
    EXPECT_EQ(s.WellLayers.At(19, 2).slot[0], (Layer{-4, 6}));
    EXPECT_EQ(s.WellLayers.At(17, 2).count, 0);
    EXPECT_EQ(s.Well.At(0, 5), 0);
    EXPECT_EQ(s.Well.At(1, 5), kEmpty);
    for (int r = -3; r <= 21; ++r) {
        EXPECT_EQ(s.Well.At(r, 0), 0);
        EXPECT_EQ(s.Well.At(r, 13), 0);
    }
}

TEST(ClearFullRows, RowOneIsEmptiedAndNothingMoves) {
    Fixture f;
    f.StartGame();
    GameState& s = f.game.state;
    f.FillRow(1);
    s.Well.Set(0, 3, -2);
    f.FillRow(5, 1);
    f.game.ClearFullRows();
    EXPECT_EQ(f.host.Take(), (Log{"sound Fire async", "lines 1", "score 150", "shift 1"}));
    for (int c = 1; c <= 12; ++c) EXPECT_EQ(s.Well.At(1, c), kEmpty);
    EXPECT_EQ(s.Well.At(0, 3), -2);
    EXPECT_EQ(s.Well.At(5, 2), 0);
}

TEST(ClearFullRows, PartialCellsKeepARowFromBeingFull) {
    Fixture f;
    f.StartGame();
    f.FillRow(20);
    f.game.state.Well.Set(20, 4, kRL);
    f.game.ClearFullRows();
    EXPECT_TRUE(f.host.Take().empty());
    EXPECT_EQ(f.game.state.Lines, 0);
}

TEST(ClearFullRows, FourRowsAtLevelEight) {
    Fixture f;
    f.StartGame();
    f.game.state.Level = 8;
    for (int r = 17; r <= 20; ++r) f.FillRow(r);
    f.game.ClearFullRows();
    EXPECT_EQ(f.game.state.Score, 1131);
    EXPECT_EQ(f.game.state.Lines, 4);
}

TEST(FallStep, LandingThatCompletesRowsPlaysUpalThenFire) {
    Fixture f;
    f.StartGame();
    f.FillRow(20, 12);
    f.Place(Single(0), 12, 20, 1);
    f.game.FallStep();
    EXPECT_EQ(f.host.Take(), (Log{"sound Upal async", "score 8", "sound Fire async", "lines 1",
                                  "score 158", "shift 20", "interval 1000"}));
    EXPECT_EQ(f.game.state.Score, 105);
}

TEST(SpecialPiece, BlastsOnlyTheVisibleWellAndEarnsNothing) {
    struct Case {
        int col, row;
        std::vector<std::pair<int, int>> cleared;
    };
    const Case cases[] = {
        {1, 20, {{19, 1}, {19, 2}, {20, 1}, {20, 2}}},
        {12, 10, {{9, 11}, {9, 12}, {10, 11}, {10, 12}, {11, 11}, {11, 12}}},
        {6, 1, {{1, 5}, {1, 6}, {1, 7}, {2, 5}, {2, 6}, {2, 7}}},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.StartGame();
        GameState& s = f.game.state;
        for (int r = -3; r <= 20; ++r)
            for (int col = 1; col <= 12; ++col) {
                s.Well.Set(r, col, -3);
                *s.WellLayers.Find(r, col) = CellLayers{1, {Layer{-3, 1}}};
            }
        f.Place(Single(kSpecialCell), c.col, c.row, kSpecialColor);
        f.game.FallStep();
        Log expected{"sound Upal async"};
        for (const auto& [r, col] : c.cleared)
            expected.push_back("empty " + std::to_string(r) + " " + std::to_string(col));
        expected.push_back("interval 1000");
        EXPECT_EQ(f.host.Take(), expected) << c.col << "," << c.row;
        EXPECT_EQ(s.Score, 0);
        int empty = 0;
        for (int r = -3; r <= 20; ++r)
            for (int col = 1; col <= 12; ++col)
                if (s.Well.At(r, col) == kEmpty) {
                    ++empty;
                    EXPECT_EQ(s.WellLayers.At(r, col).count, 0);
                }
        EXPECT_EQ(empty, static_cast<int>(c.cleared.size()));
    }
}

TEST(ClearWell, EmptiesThePlayfieldAndKeepsWallsAndFloor) {
    Fixture f;
    f.game.state.Well.Set(5, 5, 3);
    *f.game.state.WellLayers.Find(5, 5) = CellLayers{1, {Layer{3, 3}}};
    f.game.ClearWell();
    const GameState& s = f.game.state;
    for (int r = -3; r <= 21; ++r)
        for (int c = 0; c <= 13; ++c) {
            const bool wall = c == 0 || c == 13 || r == 21;
            EXPECT_EQ(s.Well.At(r, c), wall ? 0 : kEmpty);
            EXPECT_EQ(s.WellLayers.At(r, c).count, 0);
        }
}

}  // namespace
}  // namespace zonky::test
