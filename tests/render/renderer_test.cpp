#include "render/renderer.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/render/render_support.h"
#include "tests/support/piece_grids.h"

namespace zonky::test {
namespace {

// A running game on an empty well with a falling piece placed directly.
struct Playing : DrawnGame {
    Playing() {
        game.NewGame();
        renderer.Flush();
    }
    void Place(const PieceGrid& piece, int col, int row, int color) {
        PlaceFallingPiece(game.state, piece, col, row, color);
        renderer.SavePieceBox(col, row);
        renderer.DrawPiece(piece, col, row, color);
    }
    void Settle(int row, int col, std::initializer_list<Layer> parts) {
        CellLayers& layers = *game.state.WellLayers.Find(row, col);
        for (const Layer& part : parts) layers.slot[layers.count++] = part;
        game.state.Well.Set(row, col, parts.begin()->shape);
    }
    QRgb At(int x, int y) const { return renderer.surface().Pixel(x, y); }
    // Pixels of the surface that differ from the empty background, inside `area`.
    int Drawn(const QRect& area) const {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += At(x, y) != BackgroundAt(x, y);
        return n;
    }
};

TEST(Drawing, PieceBoxAndCellsSitOnTheWellGrid) {
    Playing p;
    EXPECT_EQ(PieceBoxRect(5, 3), QRect(72, 52, 72, 72));
    p.Place(Grid({kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, 0}), 5, 3, 3);
    EXPECT_EQ(p.At(108, 70), TopRowColor(3));  // the falling piece shows the frame's top row
    EXPECT_EQ(p.At(115, 80), StripColor(3));
    EXPECT_EQ(p.At(107, 70), BackgroundAt(107, 70));
    EXPECT_EQ(p.Drawn(QRect(0, 0, 309, 380)), 18 * 18);
    // The box saved under the piece holds the well without it.
    p.renderer.RestorePieceBox(5, 3);
    EXPECT_EQ(p.At(108, 70), BackgroundAt(108, 70));
}

TEST(Drawing, NothingIsDrawnInTheHiddenRows) {
    Playing p;
    p.Place(
        Grid({0, kEmpty, kEmpty, kEmpty, 0, kEmpty, kEmpty, kEmpty, 0, kEmpty, kEmpty, kEmpty, 0}),
        4, -2, 1);
    EXPECT_EQ(p.Drawn(QRect(0, 0, 309, 380)), 18 * 18);
    EXPECT_EQ(p.Drawn(CellRect(1, 4)), 18 * 18);
    // Saving and restoring a box that reaches above the window touch nothing outside it.
    p.renderer.RestorePieceBox(4, -2);
    EXPECT_EQ(p.Drawn(QRect(0, 0, 309, 380)), 0);
}

TEST(Drawing, TheSpecialPieceShowsItsPictureWithoutTheSilver) {
    Playing p;
    p.Place(Grid({kSpecialCell}), 3, 5, kSpecialColor);
    const QPoint at = CellOrigin(5, 3);
    EXPECT_EQ(p.At(at.x() + 3, at.y() + 14), kEraseRed);
    EXPECT_EQ(p.At(at.x(), at.y()), BackgroundAt(at.x(), at.y()));
}

TEST(Preview, CentresThePieceAndDrawsTheSpecialCellInTheMiddle) {
    Playing p;
    GameState& s = p.game.state;
    s.NextPiece = Grid({kSpecialCell});
    p.renderer.DrawPreview(kSpecialColor);
    EXPECT_EQ(p.At(254 + 3, 322 + 14), kEraseRed);
    EXPECT_EQ(p.At(254, 322), kPreviewInside);

    s.NextPiece = Grid({0, 0, kEmpty, kEmpty, 0, kEmpty, kEmpty, kEmpty, 0});  // width 2, height 3
    p.renderer.DrawPreview(5);
    EXPECT_EQ(p.At(245, 304), StripColor(5));  // rows 1..17 stretched: no top-row shade
    EXPECT_EQ(p.At(244, 304), kPreviewInside);
    EXPECT_EQ(p.At(245, 303), kPreviewInside);
    EXPECT_EQ(p.At(262, 357), StripColor(5));   // the lower cell's last pixel
    EXPECT_EQ(p.At(270, 330), kPreviewInside);  // beside it, no cell
}

TEST(Repaint, ComplementaryPartsFillTheCellAndAQuarterShowsTheTile) {
    Playing p;
    p.Settle(20, 1, {{-1, 3}, {1, 7}});
    p.Settle(20, 2, {{-4, 5}});
    p.renderer.InvalidateAll();
    p.renderer.Flush();
    const QRect full = CellRect(20, 1);
    int tile = 0;
    for (int y = full.top(); y <= full.bottom(); ++y)
        for (int x = full.left(); x <= full.right(); ++x) {
            const QRgb c = p.At(x, y);
            tile += c == BackgroundAt(x, y);
            EXPECT_TRUE(c == StripColor(3) || c == StripColor(7)) << x << "," << y;
        }
    EXPECT_EQ(tile, 0);
    const QRect quarter = CellRect(20, 2);
    int shown = 0;
    for (int y = quarter.top(); y <= quarter.bottom(); ++y)
        for (int x = quarter.left(); x <= quarter.right(); ++x)
            shown += p.At(x, y) == StripColor(5);
    EXPECT_GT(shown, 60);
    EXPECT_LT(shown, 100);  // about a quarter of 324
    EXPECT_EQ(p.At(quarter.left() + 9, quarter.bottom()),
              BackgroundAt(quarter.left() + 9, quarter.bottom()));
}

TEST(Moves, LeaveNoTraceAlsoAfterARepaint) {
    Playing p;
    p.Settle(12, 5, {{-6, 2}});
    p.renderer.InvalidateAll();
    p.renderer.Flush();
    const Canvas before = Canvas(p.renderer.surface().image().copy());
    p.Place(Grid({0, 0, 0, kEmpty, kEmpty, 0}), 4, 10, 6);
    for (int step = 0; step < 3; ++step) {
        p.game.Edit1KeyDown(kKeyLeft, {});
        p.game.Edit1KeyDown(kKeyUp, {});
    }
    p.renderer.InvalidateAll();  // the window is covered and uncovered mid-fall
    p.renderer.Flush();
    p.game.Edit1KeyDown(kKeyRight, {});
    p.game.Edit1KeyDown(kKeyRight, {});
    p.renderer.RestorePieceBox(p.game.state.PieceCol, p.game.state.PieceRow);
    for (int y = 0; y < 380; ++y)
        for (int x = 0; x < 309; ++x) ASSERT_EQ(p.At(x, y), before.Pixel(x, y)) << x << "," << y;
}

TEST(Repaint, WhilePausedDrawsThePieceUnderThePausePicture) {
    Playing p;
    p.Place(Grid({0, 0, 0, 0}), 2, 10, 4);
    p.game.Pause1Click();
    p.renderer.InvalidateAll();
    p.renderer.Flush();
    EXPECT_EQ(p.At(41, 183), StripColor(4));
    const Canvas& screen = p.renderer.Compose();
    EXPECT_EQ(screen.Pixel(41, 183), kPauseInk);      // the lettering covers the piece
    EXPECT_EQ(screen.Pixel(27, 183), StripColor(4));  // the picture's white lets it show
    EXPECT_EQ(screen.Pixel(20, 183), StripColor(4));
}

TEST(Repaint, TheGameOverPictureRemovesAStoppedPieceOnlyInsideIt) {
    Playing p;
    p.Place(Grid({0, 0, 0, 0}), 1, 11, 7);  // row 11 spans y 196..213, across GmOvImg's 178..212
    p.game.Exit1Click();
    p.renderer.Flush();
    for (int x = 0; x < 72; ++x) {
        const bool inside = x >= 16;
        EXPECT_EQ(p.At(x, 200) == BackgroundAt(x, 200), inside) << x;
        EXPECT_EQ(p.At(x, 213) == BackgroundAt(x, 213), false) << x;  // below the picture
    }
}

TEST(Repaint, PreviewAfterAGameEndsKeepsTheLastPieceOnlyWithPoints) {
    for (std::int32_t score : {0, 3}) {
        Playing p;
        GameState& s = p.game.state;
        s.NextPiece = Grid({0});
        s.NextColor = 1;
        s.NextShown = true;
        s.Score = score;
        p.game.Exit1Click();
        p.renderer.InvalidateAll();
        p.renderer.Flush();
        EXPECT_EQ(p.Drawn(kPreviewRect) > 0, score > 0) << score;
    }
}

// A game minimised before its first piece entered: there is no piece to draw.
TEST(Fixes, NoPieceIsDrawnBeforeTheFirstSpawnAndColourZeroDrawsNothing) {
    Playing p;
    p.game.HideMainForm();
    ASSERT_TRUE(p.game.state.Paused);
    p.renderer.InvalidateAll();
    p.renderer.Flush();
    EXPECT_EQ(p.Drawn(QRect(0, 16, 216, 360)), 0);
    p.renderer.DrawPiece(Grid({0}), 3, 3, 0);
    p.renderer.DrawPiece(Grid({0}), 3, 3, 9);
    p.renderer.DrawPreview(0);
    EXPECT_EQ(p.Drawn(QRect(0, 16, 216, 360)), 0);
}

TEST(Fixes, RemovingRowOneShiftsNothing) {
    Playing p;
    p.Place(Grid({0}), 1, 2, 2);
    p.renderer.ShiftWellPictureDown(1);
    EXPECT_EQ(p.Drawn(CellRect(1, 1)), 0);
    EXPECT_EQ(p.Drawn(CellRect(2, 1)), 18 * 18);
    p.renderer.ShiftWellPictureDown(3);
    EXPECT_EQ(p.Drawn(CellRect(3, 1)), 18 * 18);
    EXPECT_EQ(p.Drawn(CellRect(2, 1)), 0);
}

TEST(Fixes, ARepaintDoesNotLetTheNextMoveWipeThePreview) {
    Playing p;
    GameState& s = p.game.state;
    s.NextPiece = Grid({0, 0, kEmpty, kEmpty, 0, 0});
    s.NextColor = 6;
    s.NextShown = true;
    p.Place(Grid({0}), 12, 17, 2);  // its box reaches x 198..270, y 304..376
    p.renderer.InvalidateAll();
    p.renderer.Flush();
    const int previewBefore = p.Drawn(kPreviewRect);
    ASSERT_GT(previewBefore, 0);
    p.game.Edit1KeyDown(kKeyLeft, {});
    EXPECT_EQ(p.Drawn(kPreviewRect), previewBefore);
}

TEST(Labels, ShowTheirNumbersAndRepaintOnEveryChange) {
    Playing p;
    const Canvas& empty = p.renderer.Compose();
    const QImage without = empty.image().copy(kScoreLabelRect);
    p.game.state.Score = 15;  // shown as 22
    p.game.ShowScore();
    const QImage with = p.renderer.Compose().image().copy(kScoreLabelRect);
    EXPECT_NE(with, without);
    bool blue = false;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            blue |= qBlue(with.pixel(x, y)) > 200 && qRed(with.pixel(x, y)) < 60;
    EXPECT_TRUE(blue);
    // The labels never enter the surface, so a saved box never holds them.
    EXPECT_EQ(p.Drawn(kScoreLabelRect), 0);
    p.renderer.TakeChanged();
    p.game.ShowScore();
    p.renderer.Flush();
    EXPECT_TRUE(p.renderer.TakeChanged().contains(kScoreLabelRect));
}

// After random play the incremental picture and a full repaint agree everywhere but inside
// cells that hold settled parts, which a repaint draws from the frame rows 1..17.
TEST(Property, IncrementalDrawingAgreesWithARepaint) {
    int compared = 0;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        DrawnGame g(SyntheticPictures(), seed);
        g.game.state.GameMode = 1 + static_cast<int>(seed % 3);
        g.game.NewGame();
        std::mt19937 rng(seed);
        constexpr int kKeys[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeySpace};
        const int steps = 200 + static_cast<int>(rng() % 1500);
        for (int n = 0; n < steps && g.game.state.Running; ++n) {
            if (rng() % 3 == 0)
                g.game.GameTick();
            else
                g.game.Edit1KeyDown(kKeys[rng() % 5], {});
        }
        if (!g.game.state.Running) continue;  // a stopped piece is what the repaint leaves out
        ++compared;
        g.renderer.Flush();
        const QImage incremental = g.renderer.surface().image().copy();
        g.renderer.InvalidateAll();
        g.renderer.Flush();
        const Canvas& repainted = g.renderer.surface();
        for (int y = 0; y < 380; ++y)
            for (int x = 0; x < 309; ++x) {
                if (incremental.pixel(x, y) == repainted.Pixel(x, y)) continue;
                const int r = (y - 16) / 18 + 1;
                const int c = x / 18 + 1;
                ASSERT_TRUE(InWell(x, y) && g.game.state.WellLayers.At(r, c).count > 0)
                    << "seed " << seed << " pixel " << x << "," << y;
            }
    }
    EXPECT_GE(compared, 6);
}

}  // namespace
}  // namespace zonky::test
