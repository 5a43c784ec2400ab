#include "render/canvas.h"

#include <gtest/gtest.h>

namespace zonky {
namespace {

Canvas Filled(int w, int h, QRgb color) {
    Canvas c(w, h);
    c.Fill(color);
    return c;
}

TEST(Canvas, CopiesAreClippedToBothPictures) {
    Canvas target = Filled(10, 10, qRgb(0, 0, 0));
    const Canvas src = Filled(4, 4, qRgb(9, 9, 9));
    target.Draw(src, QPoint(-2, -2));  // only its lower-right 2 x 2 lands
    target.Draw(src, QPoint(8, 9));
    target.Draw(src, QRect(-5, -5, 20, 20), QPoint(100, 100));  // entirely outside
    int written = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) written += target.Pixel(x, y) == qRgb(9, 9, 9);
    EXPECT_EQ(written, 4 + 2);
    EXPECT_EQ(target.Pixel(1, 1), qRgb(9, 9, 9));
    EXPECT_EQ(target.Pixel(9, 9), qRgb(9, 9, 9));
    EXPECT_EQ(target.Pixel(-1, 3), 0u);
}

TEST(Canvas, ClipRectanglesLimitEveryWrite) {
    Canvas target = Filled(10, 10, qRgb(0, 0, 0));
    RectSet clip;
    clip.Add(QRect(0, 0, 2, 2));
    clip.Add(QRect(8, 8, 2, 2));
    target.SetClip(clip);
    target.Draw(Filled(10, 10, qRgb(5, 5, 5)), QPoint(0, 0));
    target.SetPixel(5, 5, qRgb(7, 7, 7));
    target.ClearClip();
    int written = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) written += target.Pixel(x, y) == qRgb(5, 5, 5);
    EXPECT_EQ(written, 8);
    EXPECT_EQ(target.Pixel(5, 5), qRgb(0, 0, 0));
}

TEST(Canvas, TransparentDrawComparesRgbOnly) {
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(252, 252, 252, 10));  // the key with another alpha
    picture.setPixel(1, 0, qRgb(1, 2, 3));
    Canvas target = Filled(2, 1, qRgb(50, 50, 50));
    target.DrawTransparent(Canvas(picture), QPoint(0, 0), qRgb(252, 252, 252));
    EXPECT_EQ(target.Pixel(0, 0), qRgb(50, 50, 50));
    EXPECT_EQ(target.Pixel(1, 0), qRgb(1, 2, 3));
}

TEST(Canvas, StretchingRepeatsRowsWithoutMixingColours) {
    QImage picture(1, 17, QImage::Format_RGB32);
    for (int y = 0; y < 17; ++y) picture.setPixel(0, y, qRgb(y, 0, 0));
    Canvas target(1, 18);
    target.Stretch(Canvas(picture), QRect(0, 0, 1, 17), QRect(0, 0, 1, 18));
    int doubled = 0;
    for (int y = 0; y < 18; ++y) {
        const int v = qRed(target.Pixel(0, y));
        if (y > 0 && v == qRed(target.Pixel(0, y - 1))) ++doubled;
        EXPECT_LE(v, 16);
    }
    EXPECT_EQ(doubled, 1);
    EXPECT_EQ(qRed(target.Pixel(0, 0)), 0);
    EXPECT_EQ(qRed(target.Pixel(0, 17)), 16);
}

TEST(RectSet, KeepsEveryRectangleWithinItsCapacity) {
    RectSet set;
    for (int k = 0; k < 40; ++k) set.Add(QRect(k * 3, 0, 2, 2));
    int covered = 0;
    for (int k = 0; k < 40; ++k)
        for (const QRect& r : set)
            if (r.contains(QRect(k * 3, 0, 2, 2))) {
                ++covered;
                break;
            }
    EXPECT_EQ(covered, 40);
}

}  // namespace
}  // namespace zonky
