#include "game/pieces.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "game/random.h"
#include "tests/game/test_support.h"

namespace zonky::test {
namespace {

std::vector<std::int32_t> Codes(const PieceGrid& grid) {
    std::vector<std::int32_t> codes;
    for (std::int32_t c : grid.cells)
        if (c != kEmpty) codes.push_back(c);
    return codes;
}

TEST(GeneratePiece, ClassicSkipsSmallTemplatesAndNeverDrawsSpecial) {
    // t = 1, 2, 3, 11 are drawn again; t = 4 is the I. No special draw, no shape draws.
    ScriptedRandom random{0, 1, 2, 10, 3, 4};
    PieceGrid piece;
    EXPECT_EQ(GeneratePiece(piece, kClassic, 5, random), 5);
    EXPECT_EQ(random.Sizes(), (std::vector<int>{11, 11, 11, 11, 11, 7}));
    EXPECT_EQ(piece, Grid({E, 0, E, E, E, 0, E, E, E, 0, E, E, E, 0, E, E}));
}

TEST(GeneratePiece, ClassicCellsAreFullSquaresForEveryTemplate) {
    for (int t = 4; t <= 10; ++t) {
        ScriptedRandom random{t - 1, 6};
        PieceGrid piece;
        EXPECT_EQ(GeneratePiece(piece, kClassic, 1, random), 7);
        const std::vector<std::int32_t> codes = Codes(piece);
        EXPECT_EQ(codes.size(), 4u) << "template " << t;
        for (std::int32_t c : codes) EXPECT_EQ(c, kFull);
    }
}

TEST(GeneratePiece, SpecialPieceNeedsAPieceInTheLevelButAlwaysTakesItsDraw) {
    struct Case {
        int mode, odds, hit;
    };
    for (const Case& c : {Case{kDedadidavaza, 15, 6}, Case{kZonky, 10, 2}}) {
        ScriptedRandom random{c.hit};
        PieceGrid piece;
        EXPECT_EQ(GeneratePiece(piece, c.mode, 1, random), kSpecialColor);
        EXPECT_EQ(random.Sizes(), std::vector<int>{c.odds});
        EXPECT_EQ(piece, Grid({E, E, E, E, E, kSpecialCell}));

        // With no piece yet in the level the hit is ignored and an ordinary piece follows.
        ScriptedRandom early{c.hit, 5, 0, 0, 0, 0, 0, 0, 0, 0};
        EXPECT_EQ(GeneratePiece(piece, c.mode, 0, early), 1);
        EXPECT_EQ(early.Sizes().front(), c.odds);
        EXPECT_EQ(Codes(piece).size(), 4u);  // the O
    }
}

TEST(GeneratePiece, DedadidavazaVerticalPairChoosesHalfSquaresFacingEachOther) {
    const std::int32_t upper[] = {0, 5, -6};  // mask "below"
    const std::int32_t lower[] = {0, 6, -5};  // mask "above"
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) {
            ScriptedRandom random{0, 1, 0, a, b};
            PieceGrid piece;
            GeneratePiece(piece, kDedadidavaza, 1, random);
            EXPECT_EQ(piece.at(2, 2), upper[a]);
            EXPECT_EQ(piece.at(3, 2), lower[b]);
            EXPECT_EQ(random.Sizes(), (std::vector<int>{15, 11, 7, 3, 3}));
        }
}

TEST(GeneratePiece, DedadidavazaLoneCellIsAFullOrHalfSquareInListOrder) {
    const std::int32_t expected[] = {-6, -5, 0, 5, 6};
    for (int k = 0; k < 5; ++k) {
        ScriptedRandom random{0, 0, 0, k};
        PieceGrid piece;
        GeneratePiece(piece, kDedadidavaza, 1, random);
        EXPECT_EQ(piece.at(2, 2), expected[k]);
        EXPECT_EQ(random.Sizes().back(), 5);
    }
}

TEST(GeneratePiece, DedadidavazaTeeArmsAndStem) {
    // Draw order is row by row: left arm, right arm (the centre is always full), stem.
    ScriptedRandom random{0, 4, 0, 1, 2, 2};
    PieceGrid piece;
    GeneratePiece(piece, kDedadidavaza, 1, random);
    EXPECT_EQ(piece, Grid({E, E, E, E, E, -5, 0, 6, E, E, -5, E}));
    EXPECT_EQ(random.Sizes(), (std::vector<int>{15, 11, 7, 3, 3, 3}));
}

TEST(GeneratePiece, ZonkyBiasTowardsQuartersOnlyForCellsWithAtMostOneNeighbour) {
    PieceGrid piece;
    // Lone cell, bias draw 1: a quarter from -4, -3, -2, -1.
    ScriptedRandom quarter{0, 0, 0, 1, 2};
    GeneratePiece(piece, kZonky, 1, quarter);
    EXPECT_EQ(piece.at(2, 2), -2);
    EXPECT_EQ(quarter.Sizes(), (std::vector<int>{10, 11, 7, 3, 4}));
    // Bias draw 0 or 2: the whole list of thirteen.
    for (int bias : {0, 2}) {
        ScriptedRandom whole{0, 0, 0, bias, 12};
        GeneratePiece(piece, kZonky, 1, whole);
        EXPECT_EQ(piece.at(2, 2), 6);
        EXPECT_EQ(whole.Sizes(), (std::vector<int>{10, 11, 7, 3, 13}));
    }
    // The S: its first cell has two neighbours, so no bias draw is made for it.
    ScriptedRandom s{0, 6, 0, 3};
    s.Append({0, 0, 0, 0, 0, 0});
    GeneratePiece(piece, kZonky, 1, s);
    EXPECT_EQ(piece.at(2, 2), -6);
    EXPECT_EQ(s.Sizes()[3], 4);
}

// Whatever the draws, cells touch every neighbour along a whole edge, and each mode keeps to
// its set of shapes and templates.
TEST(GeneratePiece, RandomPiecesStayJoinedEdgeToEdge) {
    SystemRandom random(12345);
    std::set<std::size_t> sizesSeen[4];
    for (int mode : {kClassic, kDedadidavaza, kZonky}) {
        for (int n = 0; n < 20000; ++n) {
            PieceGrid piece;
            const std::int32_t color = GeneratePiece(piece, mode, 1, random);
            if (color == kSpecialColor) {
                EXPECT_NE(mode, kClassic);
                continue;
            }
            ASSERT_GE(color, 1);
            ASSERT_LE(color, 7);
            sizesSeen[mode].insert(Codes(piece).size());
            for (int i = 1; i <= 4; ++i)
                for (int j = 1; j <= 4; ++j) {
                    const std::int32_t v = piece.at(i, j);
                    if (v == kEmpty) continue;
                    if (mode == kClassic) {
                        EXPECT_EQ(v, 0);
                    }
                    if (mode == kDedadidavaza) {
                        EXPECT_TRUE(v == 0 || v == 5 || v == 6 || v == -5 || v == -6) << v;
                    }
                    const int q = Quarters(v);
                    if (j < 4 && piece.at(i, j + 1) != kEmpty) {
                        EXPECT_TRUE(q & kRight) << v;
                        EXPECT_TRUE(Quarters(piece.at(i, j + 1)) & kLeft);
                    }
                    if (i < 4 && piece.at(i + 1, j) != kEmpty) {
                        EXPECT_TRUE(q & kBottom) << v;
                        EXPECT_TRUE(Quarters(piece.at(i + 1, j)) & kTop);
                    }
                }
        }
    }
    EXPECT_EQ(sizesSeen[kClassic], std::set<std::size_t>{4});
    EXPECT_EQ(sizesSeen[kDedadidavaza], (std::set<std::size_t>{1, 2, 3, 4}));
    EXPECT_EQ(sizesSeen[kZonky], (std::set<std::size_t>{1, 2, 3, 4}));
}

TEST(NormalizePiece, MovesToTheTopLeftCorner) {
    PieceGrid piece = Grid({E, E, E, E, E, E, 5, E, E, E, 6, 7});
    NormalizePiece(piece);
    EXPECT_EQ(piece, Grid({5, E, E, E, 6, 7}));

    PieceGrid empty;
    empty.cells.fill(kEmpty);
    PieceGrid copy = empty;
    NormalizePiece(copy);
    EXPECT_EQ(copy, empty);

    // The T occupies rows 1..2 and columns 1..3 once normalised.
    ScriptedRandom random{4, 0};
    GeneratePiece(piece, kClassic, 1, random);
    NormalizePiece(piece);
    EXPECT_EQ(MeasurePiece(piece).height, 2);
    EXPECT_EQ(MeasurePiece(piece).width, 3);
    EXPECT_EQ(piece, Grid({0, 0, 0, E, E, 0, E, E}));
}

TEST(SystemRandom, DrawsStayInRangeAndRepeatForASeed) {
    SystemRandom a(7), b(7);
    for (int n = 1; n <= 20; ++n)
        for (int k = 0; k < 50; ++k) {
            const int v = a.Draw(n);
            EXPECT_GE(v, 0);
            EXPECT_LT(v, n);
            EXPECT_EQ(v, b.Draw(n));
        }
}

}  // namespace
}  // namespace zonky::test
