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

// A part moving through a cell, towards the side `front`, passes over its own quarters and
// drags its side quarters over one more: the one behind it while it enters, the one ahead
// while it leaves. A quarter that has to cross the whole cell (the front one entering, the
// back one leaving) sweeps it all.
struct Direction {
    int front;
    int back;
};
constexpr Direction kDown{kBottom, kTop};
constexpr Direction kLeftwards{kLeft, kRight};
constexpr Direction kRightwards{kRight, kLeft};

int Sweep(std::int32_t code, Direction d, bool entering) {
    const int q = Quarters(code);
    const int sides = kAllQuarters & ~(d.front | d.back);
    if (q & (entering ? d.front : d.back)) return kAllQuarters;
    return (q & sides) ? q | (entering ? d.back : d.front) : q;
}

// The rules let a part (first) meet a resting part (second) exactly where its sweep misses
// every quarter already there, but for these few pairs, which they refuse.
const std::set<Pair> kRefusedLeavingDown{{kRBL, kT}, {kB, kRL}};
const std::set<Pair> kRefusedEnteringLeft{{kTR, kB}, {kTR, kL}};
const std::set<Pair> kRefusedEnteringRight{{kB, kTR}, {kL, kTR}};
const std::set<Pair> kRefusedLeavingLeft{{kL, kTB}};
const std::set<Pair> kRefusedLeavingRight{{kR, kTB}};

bool Passes(std::int32_t mover, std::int32_t resting, Direction d, bool entering,
            const std::set<Pair>& refused = {}) {
    if (resting == kEmpty) return true;
    return (Sweep(mover, d, entering) & Quarters(resting)) == 0 && !refused.count({mover, resting});
}

WellGrid EmptyWell() {
    Fixture f;
    f.game.ClearWell();
    return f.game.state.Well;
}

// Runs check(v, w, well) for every piece code v and well code w, w lying in the given cells
// of an empty well.
template <typename Check>
void ForEveryPair(std::initializer_list<std::pair<int, int>> cells, Check check) {
    for (std::int32_t v : kPieceCodes)
        for (std::int32_t w : kWellCodes) {
            WellGrid well = EmptyWell();
            for (const auto& [r, c] : cells) well.Set(r, c, w);
            check(v, w, well);
        }
}

// A lone cell at row 5, column 5 tested against the cell below (falling), its own cell after
// a turn, or its own cell as it falls on.
TEST(PieceFits, FallingIntoOrOutOfAnOccupiedCellSweepsOnlyFreeQuarters) {
    ForEveryPair({{6, 5}}, [](std::int32_t v, std::int32_t u, const WellGrid& well) {
        const bool into = Passes(v, u, kDown, true);
        EXPECT_EQ(PieceFits(well, Single(v), 5, 5, 0), into) << v << " onto " << u;
        // Judged in place after a turn (offset 1), the own-cell rule applies too.
        const bool inPlace = into && Passes(v, u, kDown, false, kRefusedLeavingDown);
        EXPECT_EQ(PieceFits(well, Single(v), 5, 6, 1), inPlace) << v << " in " << u;
    });
    ForEveryPair({{5, 5}}, [](std::int32_t v, std::int32_t w, const WellGrid& well) {
        EXPECT_EQ(PieceFits(well, Single(v), 5, 5, 0),
                  Passes(v, w, kDown, false, kRefusedLeavingDown))
            << v << " sharing " << w;
    });
}

TEST(PieceFits, AfterATurnOnlyOppositeSideQuartersMayOverlap) {
    std::set<Pair> overlaps;
    ForEveryPair({{6, 5}}, [&](std::int32_t v, std::int32_t u, const WellGrid& well) {
        if (u != kEmpty && PieceFits(well, Single(v), 5, 6, 1)) overlaps.insert({v, u});
    });
    EXPECT_EQ(overlaps, (std::set<Pair>{{kR, kL}, {kL, kR}}));
}

// Sideways into the next cell, with the same code on both sides, and out of its own cell.
TEST(CanShift, SidewaysMovesSweepOnlyFreeQuarters) {
    ForEveryPair({{5, 4}, {5, 6}}, [](std::int32_t v, std::int32_t t, const WellGrid& well) {
        EXPECT_EQ(CanShift(well, Single(v), 5, 5, true),
                  Passes(v, t, kLeftwards, true, kRefusedEnteringLeft))
            << v << " left into " << t;
        EXPECT_EQ(CanShift(well, Single(v), 5, 5, false),
                  Passes(v, t, kRightwards, true, kRefusedEnteringRight))
            << v << " right into " << t;
    });
    ForEveryPair({{5, 5}}, [](std::int32_t v, std::int32_t w, const WellGrid& well) {
        EXPECT_EQ(CanShift(well, Single(v), 5, 5, true),
                  Passes(v, w, kLeftwards, false, kRefusedLeavingLeft))
            << v << " leaving " << w << " leftwards";
        EXPECT_EQ(CanShift(well, Single(v), 5, 5, false),
                  Passes(v, w, kRightwards, false, kRefusedLeavingRight))
            << v << " leaving " << w << " rightwards";
    });
}

// Merging two parts gives the code of their union, in whichever order they met: every pair
// that may meet falling or sideways, the merged codes 7 and 8 included on either side.
TEST(MergeCodes, GivesTheUnionOfTheQuarters) {
    int pairs = 0;
    for (std::int32_t a : kWellCodes)
        for (std::int32_t b : kWellCodes) {
            if (a == kEmpty || b == kEmpty) continue;
            const bool meet = Passes(a, b, kDown, true) ||
                              Passes(a, b, kLeftwards, true, kRefusedEnteringLeft) ||
                              Passes(a, b, kRightwards, true, kRefusedEnteringRight);
            if (!meet) continue;
            ++pairs;
            const std::int32_t merged = MergeCodes(a, b);
            EXPECT_EQ(Quarters(merged), Quarters(a) | Quarters(b))
                << a << " into " << b << " gave " << merged;
        }
    EXPECT_EQ(pairs, 42);
    EXPECT_EQ(MergeCodes(kB, kT), kTB);
    EXPECT_EQ(MergeCodes(kT, kB), kTB);
    EXPECT_EQ(MergeCodes(kBL, kBL), kBL);  // no rule: the cell keeps its code
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
