// Plain pictures with the layout's sizes and rules, so that drawing tests know every pixel
// they expect, and a game wired to a renderer.
#pragma once

#include <QImage>
#include <cstdlib>
#include <memory>

#include "game/game.h"
#include "game/random.h"
#include "render/renderer.h"

namespace zonky::test {

inline constexpr QRgb kTile = qRgb(20, 40, 160);
inline constexpr QRgb kTileEdge = qRgb(150, 180, 255);
inline constexpr QRgb kSky = qRgb(90, 160, 230);
inline constexpr QRgb kPreviewInside = qRgb(30, 30, 60);
inline constexpr QRgb kStripBackground = qRgb(252, 252, 252);
inline constexpr QRgb kSilver = qRgb(192, 192, 192);
inline constexpr QRgb kEraseRed = qRgb(220, 0, 0);
inline constexpr QRgb kWhite = qRgb(255, 255, 255);
inline constexpr QRgb kPauseInk = qRgb(230, 60, 120);
inline constexpr QRgb kGameOverInk = qRgb(160, 0, 30);

// The quarter a pixel of a cell belongs to: top 1, right 2, bottom 4, left 8.
inline int QuarterOf(int x, int y) {
    const int dx = 2 * x + 1 - 18;
    const int dy = 2 * y + 1 - 18;
    if (std::abs(dy) >= std::abs(dx)) return dy < 0 ? 1 : 4;
    return dx < 0 ? 8 : 2;
}

// Each strip colour, and a darker shade for a frame's top row so that tests can tell the
// whole frame (rows 0..17) from the stretched one (rows 1..17).
inline QRgb StripColor(int color) {
    constexpr QRgb kColors[] = {qRgb(0, 170, 0),   qRgb(0, 170, 0),   qRgb(200, 0, 0),
                                qRgb(140, 0, 160), qRgb(250, 140, 0), qRgb(128, 128, 128),
                                qRgb(0, 60, 220)};
    return kColors[color - 1];
}
inline QRgb TopRowColor(int color) {
    return QColor(StripColor(color)).darker(150).rgb();
}

inline bool InWell(int x, int y) {
    return x >= 0 && x < 216 && y >= 16 && y < 376;
}

inline QRgb BackgroundAt(int x, int y) {
    if (InWell(x, y)) {
        const int tx = x % 18;
        const int ty = (y - 16) % 18;
        return tx == 17 || ty == 17 ? kTileEdge : kTile;
    }
    if (x >= 227 && x < 299 && y >= 295 && y < 367) return kPreviewInside;
    return kSky;
}

inline Pictures SyntheticPictures() {
    Pictures p;
    QImage back(310, 380, QImage::Format_RGB32);
    for (int y = 0; y < 380; ++y)
        for (int x = 0; x < 310; ++x) back.setPixel(x, y, BackgroundAt(x, y));
    p.BkGround = Canvas(back);
    for (int color = 1; color <= 7; ++color) {
        QImage strip(306, 18, QImage::Format_RGB32);
        strip.fill(kStripBackground);
        for (int frame = 0; frame < 15; ++frame) {
            const int quarters = Quarters(frame - 6);
            for (int y = 0; y < 18; ++y)
                for (int x = 0; x < 18; ++x)
                    if (quarters & QuarterOf(x, y))
                        strip.setPixel(frame * 18 + x, y,
                                       y == 0 ? TopRowColor(color) : StripColor(color));
        }
        p.strips[color - 1] = Canvas(strip);
    }
    QImage erase(18, 18, QImage::Format_RGB32);
    erase.fill(kSilver);
    for (int k = 3; k < 15; ++k) erase.setPixel(k, 17 - k, kEraseRed);
    p.Erase = Canvas(erase);
    QImage pause(163, 50, QImage::Format_RGB32);
    pause.fill(kWhite);
    for (int y = 10; y < 40; ++y)
        for (int x = 10; x < 153; ++x) pause.setPixel(x, y, kPauseInk);
    p.PauseImg = Canvas(pause);
    QImage over(195, 35, QImage::Format_RGB32);
    over.fill(kWhite);
    for (int y = 5; y < 30; ++y)
        for (int x = 5; x < 190; ++x) over.setPixel(x, y, kGameOverInk);
    p.GmOvImg = Canvas(over);
    return p;
}

// Records game-over runs; everything else goes to the renderer.
class RenderHost : public DrawingHost {
  public:
    using DrawingHost::DrawingHost;
    void GameOver(const GameResult&) override { renderer_.ShowGameOverImage(true); }
};

struct DrawnGame {
    explicit DrawnGame(Pictures pictures = SyntheticPictures(), std::uint32_t seed = 1)
        : random(seed), renderer(game.state, std::move(pictures)) {}
    SystemRandom random;
    Game game{host, random};
    Renderer renderer;
    RenderHost host{renderer};
};

}  // namespace zonky::test
