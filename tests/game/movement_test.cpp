#include "game/movement.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "game/game.h"
#include "game/pieces.h"
#include "tests/game/test_support.h"

namespace zonky::test {
namespace {

using Pair = std::pair<std::int32_t, std::int32_t>;

// The pairs the rules of play allow, written out from the game's rule book.
const std::set<Pair> kFallInto{{3, -3},  {6, -3},  {-4, -2}, {6, -1},  {6, -6},  {-1, 5},  {-1, -3},
                               {-1, -2}, {-4, -6}, {-4, -3}, {-4, -1}, {-2, -6}, {-2, -3}, {-2, -1},
                               {-5, -2}, {-4, 4},  {-4, 5},  {-5, 5},  {-5, -3}, {-4, 7},  {7, -3}};
const std::set<Pair> kSideways{{2, -2},  {-1, 1}, {-1, -2}, {-1, -3}, {-1, -4}, {-1, 8},  {-1, 5},
                               {-4, -2}, {-1, 6}, {-3, 6},  {-3, -2}, {-3, -4}, {-4, -3}, {-4, 5},
                               {-5, 5},  {-6, 6}, {8, -2},  {-6, -2}, {-6, -4}};
const std::set<Pair> kFallShare{{-6, 6},  {-6, -2}, {-6, -4}, {-3, 3},  {-3, 6},  {-3, -1},
                                {-3, -2}, {-3, -4}, {-3, -5}, {-2, -5}, {-2, -1}, {-2, -4},
                                {-1, 6},  {-1, -2}, {-1, -4}, {5, -1},  {5, -4},  {5, -5}};
const std::set<Pair> kLeaveLeft{{-4, -1}, {-4, -3}, {-4, -6}, {-3, -4}, {-3, -1},
                                {-3, -5}, {-2, -4}, {-2, 2},  {-2, -6}, {-2, -5},
                                {-2, -1}, {-2, -3}, {1, -1},  {5, -5},  {5, -1},
                                {5, -4},  {6, -6},  {6, -1},  {6, -3}};

WellGrid EmptyWell() {
    Fixture f;
    f.game.ClearWell();
    return f.game.state.Well;
}

// Every vertical pair, by the test a falling cell makes of the cell below it.
TEST(PieceFits, FallingIntoAnOccupiedCellFollowsTheMergeTable) {
    for (std::int32_t v : kPieceCodes)
        for (std::int32_t u : kWellCodes) {
            WellGrid well = EmptyWell();
            well.Set(6, 5, u);
            const bool expected = u == kEmpty || kFallInto.count({v, u}) > 0;
            EXPECT_EQ(PieceFits(well, Single(v), 5, 5, 0), expected) << v << " onto " << u;
            // The same pair judged in place after a turn (offset 1) meets the own-cell rule too.
            const bool inPlace =
                u == kEmpty || (kFallInto.count({v, u}) && kFallShare.count({v, u}));
            EXPECT_EQ(PieceFits(well, Single(v), 5, 6, 1), inPlace) << v << " in " << u;
        }
}

TEST(PieceFits, AfterATurnOnlyOppositeSideQuartersMayOverlap) {
    std::set<Pair> overlaps;
    for (std::int32_t v : kPieceCodes)
        for (std::int32_t u : kWellCodes) {
            WellGrid well = EmptyWell();
            well.Set(6, 5, u);
            if (u != kEmpty && PieceFits(well, Single(v), 5, 6, 1)) overlaps.insert({v, u});
        }
    EXPECT_EQ(overlaps, (std::set<Pair>{{-1, -2}, {-2, -1}}));
}

TEST(PieceFits, SharingACellWhileFallingFollowsTheExitTable) {
    for (std::int32_t v : kPieceCodes)
        for (std::int32_t w : kWellCodes) {
            WellGrid well = EmptyWell();
            well.Set(5, 5, w);
            const bool expected = w == kEmpty || kFallShare.count({v, w}) > 0;
            EXPECT_EQ(PieceFits(well, Single(v), 5, 5, 0), expected) << v << " sharing " << w;
        }
}

TEST(CanShift, SidewaysMovesFollowTheSymmetricTable) {
    for (std::int32_t v : kPieceCodes)
        for (std::int32_t t : kWellCodes) {
            WellGrid well = EmptyWell();
            well.Set(5, 4, t);
            well.Set(5, 6, t);
            EXPECT_EQ(CanShift(well, Single(v), 5, 5, true), t == kEmpty || kSideways.count({v, t}))
                << v << " left into " << t;
            EXPECT_EQ(CanShift(well, Single(v), 5, 5, false),
                      t == kEmpty || kSideways.count({t, v}))
                << v << " right into " << t;
        }
}

TEST(CanShift, LeavingAnOccupiedCellFollowsTheSideExitTable) {
    for (std::int32_t v : kPieceCodes)
        for (std::int32_t w : kWellCodes) {
            WellGrid well = EmptyWell();
            well.Set(5, 5, w);
            EXPECT_EQ(CanShift(well, Single(v), 5, 5, true),
                      w == kEmpty || kLeaveLeft.count({v, w}))
                << v << " leaving " << w << " leftwards";
            // Moving right the roles swap; the merged codes 7 and 8 have no row and refuse.
            EXPECT_EQ(CanShift(well, Single(v), 5, 5, false),
                      w == kEmpty || kLeaveLeft.count({w, v}))
                << v << " leaving " << w << " rightwards";
        }
}

// The tables only ever let parts share a cell that have no quarter in common.
TEST(MovementTables, AllowOnlyDisjointParts) {
    for (const auto* table : {&kFallInto, &kSideways, &kFallShare, &kLeaveLeft})
        for (const auto& [a, b] : *table) EXPECT_EQ(Quarters(a) & Quarters(b), 0) << a << "," << b;
}

// Merging two parts gives the code of their union, in whichever order they met.
TEST(MergeCodes, GivesTheUnionOfTheQuarters) {
    std::set<Pair> pairs = kFallInto;
    for (const auto& [a, b] : kSideways) {
        pairs.insert({a, b});
        pairs.insert({b, a});
    }
    for (const auto& [falling, resting] : pairs) {
        const std::int32_t merged = MergeCodes(falling, resting);
        EXPECT_EQ(Quarters(merged), Quarters(falling) | Quarters(resting))
            << falling << " into " << resting << " gave " << merged;
    }
    EXPECT_EQ(MergeCodes(-3, -4), 8);
    EXPECT_EQ(MergeCodes(-4, -3), 8);
    EXPECT_EQ(MergeCodes(5, 5), 5);  // no rule: the cell keeps its code
}

TEST(PieceFits, WallsFloorAndFullSquaresAlwaysBlock) {
    const WellGrid well = EmptyWell();
    for (std::int32_t v : kPieceCodes) {
        EXPECT_FALSE(PieceFits(well, Single(v), 5, 20, 0)) << v;  // the floor
        EXPECT_FALSE(CanShift(well, Single(v), 1, 5, true)) << v;
        EXPECT_FALSE(CanShift(well, Single(v), 12, 5, false)) << v;
        EXPECT_TRUE(PieceFits(well, Single(v), 5, 19, 0)) << v;
    }
}

TEST(PieceFits, ReadsOutsideTheWellActLikeWalls) {
    const WellGrid well = EmptyWell();
    EXPECT_EQ(well.At(-4, 5), kFull);
    EXPECT_EQ(well.At(22, 5), kFull);
    EXPECT_EQ(well.At(5, 14), kFull);
    EXPECT_EQ(well.At(5, -1), kFull);
    // A piece pushed past the edges is refused, not read out of bounds.
    const PieceGrid bar = Grid({0, 0, 0, 0});
    EXPECT_FALSE(PieceFits(well, bar, 12, 5, 1));
    EXPECT_FALSE(PieceFits(well, bar, 40, 5, 1));
    EXPECT_FALSE(PieceFits(well, Single(0), 5, -9, 0));
    EXPECT_FALSE(CanShift(well, bar, -5, 5, true));
}

TEST(SpecialPiece, FallsIntoTheFirstFilledCellAndStopsAtRowTwenty) {
    WellGrid well = EmptyWell();
    const PieceGrid special = Single(kSpecialCell);
    EXPECT_TRUE(PieceFits(well, special, 4, 19, 0));
    EXPECT_FALSE(PieceFits(well, special, 4, 20, 0));  // row 20 is its last, empty or not
    well.Set(10, 4, -3);
    EXPECT_TRUE(PieceFits(well, special, 4, 9, 0));    // moves into the filled cell...
    EXPECT_FALSE(PieceFits(well, special, 4, 10, 0));  // ...and stops there
    // Sideways it may enter filled cells but never pass column 1 or 12.
    well.Set(5, 3, 0);
    EXPECT_TRUE(CanShift(well, special, 4, 5, true));
    EXPECT_FALSE(CanShift(well, special, 1, 5, true));
    EXPECT_FALSE(CanShift(well, special, 12, 5, false));
    EXPECT_FALSE(CanShift(well, special, 3, 5, false));  // its own cell is filled
}

TEST(RotatePiece, FourTurnsGiveBackEveryPieceAndCode) {
    for (std::int32_t v : kPieceCodes) {
        PieceGrid piece = Grid({v, v, v, E, E, v});
        const PieceGrid before = piece;
        for (int turn = 0; turn < 4; ++turn) RotatePiece(piece, 1);
        EXPECT_EQ(piece, before) << v;
    }
    // One clockwise turn moves every quarter one side on: top goes right.
    for (std::int32_t v : kPieceCodes) {
        PieceGrid piece = Single(v);
        RotatePiece(piece, 1);
        const int q = Quarters(v);
        const int turned = ((q << 1) | (q >> 3)) & 15;
        EXPECT_EQ(Quarters(piece.at(1, 1)), turned) << v;
    }
}

TEST(RotatePiece, TurnsTheGridClockwiseAndKeepsItNormalised) {
    PieceGrid piece = Grid({0, 0, 0, E, E, 0});  // T, stem down
    RotatePiece(piece, 1);
    EXPECT_EQ(piece, Grid({E, 0, E, E, 0, 0, E, E, E, 0}));  // stem to the left
    PieceGrid special = Grid({E, E, E, E, E, kSpecialCell});
    RotatePiece(special, kSpecialColor);
    EXPECT_EQ(special, Single(kSpecialCell));  // only normalised
}

TEST(RotatePiece, VerticalBarCannotTurnNearTheRightWall) {
    const WellGrid well = EmptyWell();
    for (int col = 1; col <= 12; ++col) {
        PieceGrid bar = Grid({0, E, E, E, 0, E, E, E, 0, E, E, E, 0});
        RotatePiece(bar, 1);
        EXPECT_EQ(PieceFits(well, bar, col, 5, 1), col <= 9) << col;
    }
    WellGrid blocked = EmptyWell();
    blocked.Set(5, 9, 0);
    PieceGrid bar = Grid({0, 0, 0, 0});
    EXPECT_FALSE(PieceFits(blocked, bar, 6, 5, 1));
    EXPECT_TRUE(PieceFits(blocked, bar, 5, 5, 1));
}

}  // namespace
}  // namespace zonky::test
