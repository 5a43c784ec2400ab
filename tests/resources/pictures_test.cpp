// Reads every committed picture and checks what the game relies on: sizes, depths, palettes,
// sampled pixels, transparent colours, key colours kept out of visible pixels, cell shapes,
// bevels and the filling of complementary parts.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <cmath>
#include <set>

#include "tests/resources/asset_files.h"

using namespace assets_test;

namespace {

constexpr Colour kStripBackground{252, 252, 252};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kSilver{192, 192, 192};

Bmp LoadBmp(const std::string& name) {
    return ParseBmp(ReadAsset("pictures/" + name + ".bmp"));
}

void ExpectUncompressed(const Bmp& b, int w, int h, int bits, size_t file_bytes) {
    EXPECT_EQ(b.width, w);
    EXPECT_EQ(b.height, h);
    EXPECT_EQ(b.bits, bits);
    EXPECT_EQ(b.planes, 1);
    EXPECT_EQ(b.compression, 0u);
    EXPECT_EQ(b.header_size, 40u);
    EXPECT_EQ(b.file_size, file_bytes);
    const size_t row_bytes = static_cast<size_t>(((w * bits + 31) / 32) * 4);
    EXPECT_EQ(b.offset + row_bytes * static_cast<size_t>(h), file_bytes);
    if (bits <= 8) {
        EXPECT_GE(b.palette.size(), 2u);
        EXPECT_LE(b.palette.size(), size_t{1} << bits);
    }
}

// Cell quarters: T=1, R=2, B=4, L=8; frame c+6 holds code c, 13 and 14 the merged
// codes 7 and 8, 15 and 16 nothing. Written out here on purpose rather than taken from the
// engine's map (game/cell_codes.h), which the generator draws with: the pictures are checked
// against the rules themselves, so a slip in the map cannot pass unseen in both.
int CodeQuarters(int code) {
    switch (code) {
        case 0:
            return 15;
        case 1:
            return 1 | 4 | 8;
        case 2:
            return 1 | 2 | 4;
        case 3:
            return 1 | 2 | 8;
        case 4:
            return 2 | 4 | 8;
        case 5:
            return 4 | 8;
        case 6:
            return 1 | 8;
        case -5:
            return 1 | 2;
        case -6:
            return 2 | 4;
        case -1:
            return 2;
        case -2:
            return 8;
        case -3:
            return 4;
        case -4:
            return 1;
        case 7:
            return 2 | 8;
        case 8:
            return 1 | 4;
    }
    return 0;
}
int FrameQuarters(int frame) {
    if (frame <= 12) return CodeQuarters(frame - 6);
    if (frame == 13) return CodeQuarters(7);
    if (frame == 14) return CodeQuarters(8);
    return 0;
}
// The quarter a pixel's centre lies in, or 0 when it lies within 0.75 px of a diagonal.
int ClearQuarter(int x, int y) {
    const double cx = x + 0.5 - 9, cy = y + 0.5 - 9;
    if (std::min(std::abs(cx - cy), std::abs(cx + cy)) / std::sqrt(2.0) < 0.75) return 0;
    if (-cy > std::abs(cx)) return 1;
    if (cx > std::abs(cy)) return 2;
    if (cy > std::abs(cx)) return 4;
    return 8;
}

bool Opaque(const Bmp& strip, int frame, int x, int y) {
    return !(strip.At(18 * frame + x, y) == kStripBackground);
}

double MeanLuma(const Bmp& b, int x0, int y0, int x1, int y1) {  // inclusive rectangle
    double s = 0;
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) s += b.At(x, y).Luma(), ++n;
    return s / n;
}

}  // namespace

TEST(BkGround, SizeDepthAndNoStripBackground) {
    const Bmp b = LoadBmp("BkGround");
    ExpectUncompressed(b, 310, 380, 8, ReadAsset("pictures/BkGround.bmp").size());
    for (int y = 0; y < 380; ++y)
        for (int x = 0; x < 310; ++x) ASSERT_FALSE(b.At(x, y) == kStripBackground) << x << "," << y;
}

TEST(BkGround, WellIsIdenticalTilesWithBrightRightAndBottomEdges) {
    const Bmp b = LoadBmp("BkGround");
    for (int y = 16; y < 376; ++y)
        for (int x = 0; x < 216; ++x)
            ASSERT_EQ(b.At(x, y), b.At(x % 18, 16 + (y - 16) % 18)) << x << "," << y;
    const double face = MeanLuma(b, 2, 18, 15, 31);
    EXPECT_GT(MeanLuma(b, 17, 16, 17, 33), face + 60);  // right edge line
    EXPECT_GT(MeanLuma(b, 0, 33, 17, 33), face + 60);   // bottom edge line
    // Blue: the tile face is dark blue.
    const Colour c = b.At(8, 24);
    EXPECT_GT(c.b, c.r + 40);
    EXPECT_GT(c.b, c.g + 30);
}

TEST(BkGround, SkyOutsideTheWell) {
    const Bmp b = LoadBmp("BkGround");
    const Colour tile_line = b.At(17, 16);
    auto sky_like = [&](int x, int y) {
        const Colour c = b.At(x, y);
        return c.b >= c.r && c.b > 120 && !(c == tile_line);
    };
    int sky = 0, total = 0;
    for (int x = 0; x < 216; ++x)
        for (int y : {0, 5, 10, 15, 376, 379}) sky += sky_like(x, y), ++total;
    for (int y = 0; y < 380; y += 4)
        for (int x : {216, 230, 309}) sky += sky_like(x, y), ++total;
    EXPECT_GT(sky, total * 8 / 10);
    // The tile pattern stops at the well's edges.
    EXPECT_FALSE(b.At(5, 15) == b.At(5, 15 + 18));
    EXPECT_FALSE(b.At(216, 20) == b.At(216 - 18, 20));
}

TEST(BkGround, LabelBoxesAreSunkenAndPlain) {
    const Bmp b = LoadBmp("BkGround");
    for (int top : {64, 132, 200}) {
        const Colour inside = b.At(218, top);
        EXPECT_GT(inside.Luma(), 180) << top;
        for (int y = top; y < top + 15; ++y)
            for (int x = 218; x < 308; ++x) ASSERT_EQ(b.At(x, y), inside) << x << "," << y;
        // Sunken: the line above and to the left is dark, below and to the right light.
        EXPECT_LT(MeanLuma(b, 218, top - 1, 307, top - 1), inside.Luma() - 80) << top;
        EXPECT_LT(MeanLuma(b, 217, top, 217, top + 14), inside.Luma() - 80) << top;
        EXPECT_GT(MeanLuma(b, 218, top + 15, 307, top + 15),
                  MeanLuma(b, 218, top - 1, 307, top - 1) + 80);
        EXPECT_GT(MeanLuma(b, 308, top, 308, top + 14), MeanLuma(b, 217, top, 217, top + 14) + 80);
    }
}

TEST(BkGround, HeadingsArePainted) {
    const Bmp b = LoadBmp("BkGround");
    // Above each box: warm lettering with a dark outline.
    for (auto [y0, y1] : {std::pair{34, 60}, {102, 128}, {170, 196}, {262, 290}}) {
        int warm = 0, dark = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = 218; x < 308; ++x) {
                const Colour c = b.At(x, y);
                warm += c.r > 200 && c.g > 120 && c.b < 120;
                dark += c.Luma() < 60;
            }
        EXPECT_GT(warm, 80) << y0;
        EXPECT_GT(dark, 80) << y0;
    }
}

TEST(BkGround, NextPieceBoxIsSunkenWithASmoothInside) {
    const Bmp b = LoadBmp("BkGround");
    // The inner 72 x 72 area (227,295)-(299,367): smooth, so stretching it shows no seams.
    for (int y = 295; y < 367; ++y)
        for (int x = 227; x < 299; ++x) {
            const Colour c = b.At(x, y), r = b.At(std::min(x + 1, 298), y),
                         d = b.At(x, std::min(y + 1, 366));
            ASSERT_LE(std::abs(c.Luma() - r.Luma()) + std::abs(c.Luma() - d.Luma()), 6)
                << x << "," << y;
        }
    const double inside = MeanLuma(b, 227, 295, 298, 366);
    const double top = MeanLuma(b, 227, 294, 298, 294), left = MeanLuma(b, 226, 295, 226, 366);
    const double bottom = MeanLuma(b, 227, 367, 298, 367), right = MeanLuma(b, 299, 295, 299, 366);
    EXPECT_GT(bottom, top + 60);
    EXPECT_GT(right, left + 60);
    EXPECT_GT(bottom, inside + 60);
    // The inside differs from the frame on every side, so the box is exactly 72 x 72.
    EXPECT_NE(b.At(226, 330), b.At(227, 330));
    EXPECT_NE(b.At(298, 330), b.At(299, 330));
    EXPECT_NE(b.At(260, 294), b.At(260, 295));
    EXPECT_NE(b.At(260, 366), b.At(260, 367));
}

class Strip : public ::testing::TestWithParam<int> {};

TEST_P(Strip, SizeDepthAndBackground) {
    const int colour = GetParam();
    const Bmp s = LoadBmp("Image" + std::to_string(colour));
    ExpectUncompressed(s, 306, 18, 8,
                       ReadAsset("pictures/Image" + std::to_string(colour) + ".bmp").size());
    EXPECT_EQ(s.At(300, 1), kStripBackground);
    // Frames 15, 16 are empty.
    for (int y = 0; y < 18; ++y)
        for (int x = 18 * 15; x < 306; ++x) ASSERT_EQ(s.At(x, y), kStripBackground);
}

TEST_P(Strip, ShapesFollowTheirQuarters) {
    const Bmp s = LoadBmp("Image" + std::to_string(GetParam()));
    for (int frame = 0; frame < 15; ++frame) {
        const int q = FrameQuarters(frame);
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 18; ++x) {
                const int clear = ClearQuarter(x, y);
                if (clear == 0) continue;
                EXPECT_EQ(Opaque(s, frame, x, y), (q & clear) != 0)
                    << "frame " << frame << " at " << x << "," << y;
            }
    }
    // Merged frames are exactly the union of their quarters' frames.
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) {
            EXPECT_EQ(Opaque(s, 13, x, y), Opaque(s, 5, x, y) || Opaque(s, 4, x, y))
                << x << "," << y;
            EXPECT_EQ(Opaque(s, 14, x, y), Opaque(s, 2, x, y) || Opaque(s, 3, x, y))
                << x << "," << y;
        }
}

// Complementary parts drawn over each other fill the square, in both drawings of the game:
// rows 0..17 as they are (the falling piece), rows 1..17 stretched to 18 (preview, repaint).
TEST_P(Strip, ComplementaryPartsFillTheSquare) {
    const Bmp s = LoadBmp("Image" + std::to_string(GetParam()));
    int pairs = 0;
    for (int a = -6; a <= 6; ++a)
        for (int b = a; b <= 6; ++b) {
            if ((CodeQuarters(a) | CodeQuarters(b)) != 15) continue;
            ++pairs;
            for (int y = 0; y < 18; ++y)
                for (int x = 0; x < 18; ++x)
                    ASSERT_TRUE(Opaque(s, a + 6, x, y) || Opaque(s, b + 6, x, y))
                        << a << "+" << b << " at " << x << "," << y;
            // Stretching 17 rows to 18: whichever row is doubled, every destination row shows
            // one of the source rows 1..17; two common nearest-neighbour mappings.
            for (int y = 0; y < 18; ++y) {
                const int src[2] = {1 + y * 17 / 18, 1 + static_cast<int>((y + 0.5) * 17 / 18)};
                for (int sy : src)
                    for (int x = 0; x < 18; ++x) {
                        ASSERT_TRUE(Opaque(s, a + 6, x, sy) || Opaque(s, b + 6, x, sy))
                            << a << "+" << b;
                        // Mixed: a landed piece's picture (rows 0..17) over a part the repaint
                        // drew stretched, either way round.
                        ASSERT_TRUE(Opaque(s, a + 6, x, sy) || Opaque(s, b + 6, x, y))
                            << a << "+" << b;
                        ASSERT_TRUE(Opaque(s, a + 6, x, y) || Opaque(s, b + 6, x, sy))
                            << a << "+" << b;
                    }
            }
        }
    EXPECT_GE(pairs,
              6 + 13);  // the six quarter/notch and half/half pairs, the full square with all
}

TEST_P(Strip, NoShapePixelHasTheBackgroundColourAndTheBevelIsLitFromTheUpperLeft) {
    const Bmp s = LoadBmp("Image" + std::to_string(GetParam()));
    // Exactly one palette entry is the background, and its index is the only one shown outside.
    int background_entries = 0;
    for (const Colour& c : s.palette) background_entries += c == kStripBackground;
    EXPECT_EQ(background_entries, 1);
    // The full square: light top and left edges, dark bottom and right.
    const double centre = MeanLuma(s, 108 + 5, 5, 108 + 12, 12);
    EXPECT_GT(MeanLuma(s, 108 + 3, 0, 108 + 14, 1), centre + 25);
    EXPECT_GT(MeanLuma(s, 108 + 3, 1, 108 + 14, 2), centre + 10);  // still light without row 0
    EXPECT_GT(MeanLuma(s, 108 + 0, 3, 108 + 1, 14), centre + 20);
    EXPECT_LT(MeanLuma(s, 108 + 3, 16, 108 + 14, 17), centre - 25);
    EXPECT_LT(MeanLuma(s, 108 + 16, 3, 108 + 17, 14), centre - 25);
    // Triangles: -6 (R+B) has its long edge facing the upper left: light; 6 (T+L) faces the lower
    // right: dark. Quarters: top quarter light on top, bottom quarter dark at the bottom.
    EXPECT_GT(s.At(0 * 18 + 9, 8).Luma(),
              s.At(0 * 18 + 13, 13).Luma() + 20);  // -6 diagonal vs face
    EXPECT_LT(s.At(12 * 18 + 9, 8).Luma(), s.At(12 * 18 + 4, 4).Luma() - 20);  // 6 diagonal vs face
    EXPECT_GT(s.At(2 * 18 + 9, 0).Luma(), s.At(2 * 18 + 9, 5).Luma() + 20);    // -4 top edge
    EXPECT_LT(s.At(3 * 18 + 9, 17).Luma(), s.At(3 * 18 + 9, 12).Luma() - 20);  // -3 bottom edge
    EXPECT_GT(s.At(4 * 18 + 0, 9).Luma(), s.At(4 * 18 + 5, 9).Luma() + 20);    // -2 left edge
    EXPECT_LT(s.At(5 * 18 + 17, 9).Luma(), s.At(5 * 18 + 12, 9).Luma() - 20);  // -1 right edge
}

INSTANTIATE_TEST_SUITE_P(AllColours, Strip, ::testing::Range(1, 8));

TEST(Strips, SampledPixelsAndColours) {
    EXPECT_EQ(LoadBmp("Image2").At(0, 2), kStripBackground);
    // 1 and 2 are the same picture.
    EXPECT_EQ(ReadAsset("pictures/Image1.bmp"), ReadAsset("pictures/Image2.bmp"));
    auto face = [](int colour) { return LoadBmp("Image" + std::to_string(colour)).At(108 + 9, 9); };
    const Colour green = face(1), red = face(3), purple = face(4), orange = face(5), grey = face(6),
                 blue = face(7);
    EXPECT_TRUE(green.g > green.r + 60 && green.g > green.b + 60);
    EXPECT_TRUE(red.r > red.g + 100 && red.r > red.b + 100);
    EXPECT_TRUE(purple.r > purple.g + 40 && purple.b > purple.g + 80);
    EXPECT_TRUE(orange.r > 200 && orange.g > 100 && orange.g < 180 && orange.b < 80);
    EXPECT_TRUE(std::abs(grey.r - grey.g) < 16 && std::abs(grey.g - grey.b) < 20 && grey.r > 90);
    EXPECT_TRUE(blue.b > blue.r + 100 && blue.b > blue.g + 60);
    std::set<std::tuple<int, int, int>> distinct;
    for (Colour c : {green, red, purple, orange, grey, blue}) distinct.insert({c.r, c.g, c.b});
    EXPECT_EQ(distinct.size(), 6u);
}

TEST(Erase, SizeDepthPaletteAndCharge) {
    const Bytes bytes = ReadAsset("pictures/Erase.bmp");
    const Bmp e = ParseBmp(bytes);
    ExpectUncompressed(e, 18, 18, 4, bytes.size());
    EXPECT_EQ(e.At(0, 17), kSilver);
    int silver_entries = 0;
    for (const Colour& c : e.palette) silver_entries += c == kSilver;
    EXPECT_EQ(silver_entries, 1);
    int red = 0, black = 0, spark = 0;
    double sx = 0, sy = 0, sxy = 0, sxx = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) {
            const Colour c = e.At(x, y);
            if (c.r > 150 && c.g < 110 && c.b < 110) {
                ++red;
                sx += x, sy += y, sxy += x * y, sxx += x * x;
            }
            black += c.Luma() < 20;
            if (x < 7 && y < 7 && ((c.r > 230 && c.g > 200 && c.b < 80) || c == kWhite)) ++spark;
        }
    EXPECT_GT(red, 25);
    EXPECT_GT(black, 15);
    EXPECT_GE(spark, 4);
    // Diagonal: the red pixels run from the upper left to the lower right.
    const double cov = sxy / red - (sx / red) * (sy / red),
                 var = sxx / red - (sx / red) * (sx / red);
    EXPECT_GT(cov / var, 0.6);
    EXPECT_LT(cov / var, 1.6);
    // The outline closes the charge: no red pixel touches the silver background.
    for (int y = 1; y < 17; ++y)
        for (int x = 1; x < 17; ++x) {
            const Colour c = e.At(x, y);
            if (!(c.r > 150 && c.g < 110 && c.b < 110)) continue;
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                EXPECT_FALSE(e.At(x + dx, y + dy) == kSilver) << x << "," << y;
        }
}

namespace {

void CheckLettering(const std::string& name, int w, int h, bool pink) {
    const Bytes bytes = ReadAsset("pictures/" + name + ".bmp");
    const Bmp b = ParseBmp(bytes);
    ExpectUncompressed(b, w, h, 24, bytes.size());
    EXPECT_EQ(b.At(0, h - 1), kWhite);
    int coloured = 0, dark = 0, letters = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Colour c = b.At(x, y);
            if (c == kWhite) continue;
            ++letters;
            // No pale fringe: a visible pixel of the lettering is never close to white.
            ASSERT_FALSE(c.r > 235 && c.g > 235 && c.b > 235) << name << " " << x << "," << y;
            dark += c.Luma() < 60;
            if (pink)
                coloured += c.r > 200 && c.g < 170 && c.b > 60 && c.r > c.g + 60;
            else
                coloured += c.r > 130 && c.g < 60 && c.b < 90;
        }
    EXPECT_GT(letters, w * h / 6) << name;
    EXPECT_GT(coloured, letters / 4) << name;
    EXPECT_GT(dark, letters / 10) << name;
    // Margins stay white.
    for (int x = 0; x < w; ++x) EXPECT_EQ(b.At(x, 0), kWhite);
    for (int x = 0; x < w; ++x) EXPECT_EQ(b.At(x, h - 1), kWhite);
}

QImage LoadPng(const std::string& relative) {
    QImage img(QString::fromStdString(ResourcesDir() + "/" + relative), "PNG");
    return img.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

TEST(Overlays, PauseImg) {
    CheckLettering("PauseImg", 163, 50, true);
}
TEST(Overlays, GmOvImg) {
    CheckLettering("GmOvImg", 195, 35, false);
}

TEST(Avatars, TwentyFiveDistinctFacesWithTransparency) {
    std::vector<QImage> faces;
    for (int i = 0; i < 25; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "avatars/avatar%02d.png", i);
        QImage img(QString::fromStdString(ResourcesDir() + "/" + name), "PNG");
        ASSERT_FALSE(img.isNull()) << name;
        EXPECT_EQ(img.size(), QSize(32, 32)) << name;
        EXPECT_TRUE(img.hasAlphaChannel()) << name;
        img = img.convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << name;
        EXPECT_EQ(qAlpha(img.pixel(31, 0)), 0) << name;
        EXPECT_EQ(qAlpha(img.pixel(16, 20)), 255) << name;
        int opaque = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) opaque += qAlpha(img.pixel(x, y)) == 255;
        EXPECT_GT(opaque, 350) << name;
        EXPECT_LT(opaque, 900) << name;
        faces.push_back(img);
    }
    for (size_t a = 0; a < faces.size(); ++a)
        for (size_t b = a + 1; b < faces.size(); ++b) {
            int differ = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) differ += faces[a].pixel(x, y) != faces[b].pixel(x, y);
            EXPECT_GT(differ, 60) << a << " and " << b;
        }
}

TEST(Glyphs, CurvedArrowsLeftAndRight) {
    const QImage left = LoadPng("pictures/SpeedButton1.png"),
                 right = LoadPng("pictures/SpeedButton2.png");
    ASSERT_EQ(left.size(), QSize(28, 27));
    ASSERT_EQ(right.size(), QSize(28, 27));
    EXPECT_EQ(right, left.mirrored(true, false));
    int opaque = 0, left_half = 0;
    for (int y = 0; y < 27; ++y)
        for (int x = 0; x < 28; ++x)
            if (qAlpha(left.pixel(x, y)) > 128) ++opaque, left_half += x < 14 && y > 14;
    EXPECT_GT(opaque, 80);
    EXPECT_EQ(qAlpha(left.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(left.pixel(27, 26)), 0);
    // The arrow head of the left turn sits at the lower left.
    EXPECT_GT(left_half, 15);
}

TEST(Icon, AllSizesAndTheSvg) {
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage img = LoadPng("icons/zonkymosaro-" + std::to_string(size) + ".png");
        ASSERT_EQ(img.size(), QSize(size, size)) << size;
        EXPECT_EQ(qAlpha(img.pixel(size / 2, size / 2)), 255) << size;
        // Several cell colours: red, green, purple, orange and blue are all there.
        int red = 0, green = 0, orange = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QRgb c = img.pixel(x, y);
                red += qRed(c) > 180 && qGreen(c) < 80 && qBlue(c) < 80;
                green += qGreen(c) > 150 && qRed(c) < 90 && qBlue(c) < 100;
                orange += qRed(c) > 220 && qGreen(c) > 110 && qGreen(c) < 170 && qBlue(c) < 60;
            }
        EXPECT_GT(red, 0) << size;
        EXPECT_GT(green, 0) << size;
        EXPECT_GT(orange, 0) << size;
    }
    const Bytes svg = ReadAsset("icons/zonkymosaro.svg");
    const std::string text(svg.begin(), svg.end());
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_NE(text.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
    EXPECT_NE(text.find("viewBox=\"0 0 32 32\""), std::string::npos);
    EXPECT_NE(text.find("</svg>"), std::string::npos);
}

TEST(Form2, TwoGamePictures) {
    const QImage a = LoadPng("pictures/Game1.png"), b = LoadPng("pictures/Game2.png");
    EXPECT_EQ(a.size(), QSize(100, 100));
    EXPECT_EQ(b.size(), QSize(100, 100));
    EXPECT_NE(a, b);
    for (const QImage* img : {&a, &b}) {
        std::set<QRgb> colours;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                ASSERT_EQ(qAlpha(img->pixel(x, y)), 255);
                colours.insert(img->pixel(x, y));
            }
        EXPECT_GT(colours.size(), 100u);
    }
}
