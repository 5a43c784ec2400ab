// The pictures of the layout, the sprite strips and the off-screen pictures made from them.
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include "render/renderer.h"

namespace zonky {
namespace {

// The pixel that tells the strips' background colour.
constexpr QPoint kTransparentSample{0, 2};  // of Image2
constexpr int kStripForTransparentColor = 2;

constexpr QRgb kLabelColor = qRgb(0, 0, 255);

QImage Picture(const char* name) {
    return QImage(QString(":/pictures/") + name);
}

int FrameX(int code) {
    return CellSize * (code - kMinPieceCode);
}

}  // namespace

Pictures LoadPictures() {
    Pictures pictures;
    pictures.BkGround = Canvas(Picture("BkGround.bmp"));
    for (int k = 0; k < kColorCount; ++k)
        pictures.strips[k] = Canvas(Picture(("Image" + std::to_string(k + 1) + ".bmp").c_str()));
    pictures.Erase = Canvas(Picture("Erase.bmp"));
    pictures.PauseImg = Canvas(Picture("PauseImg.bmp"));
    pictures.GmOvImg = Canvas(Picture("GmOvImg.bmp"));
    return pictures;
}

LabelFont::LabelFont(int pixelSize) {
    QFont font("Courier New");
    font.setPixelSize(pixelSize);
    font.setBold(true);
    const QFontMetrics metrics(font);
    advance_ = metrics.horizontalAdvance(QLatin1Char('0'));
    for (int d = 0; d < 10; ++d) {
        QImage glyph(advance_, metrics.height(), QImage::Format_ARGB32_Premultiplied);
        glyph.fill(Qt::transparent);
        QPainter painter(&glyph);
        painter.setFont(font);
        painter.setPen(QColor(kLabelColor));
        painter.drawText(0, metrics.ascent(), QString(QLatin1Char(static_cast<char>('0' + d))));
        painter.end();
        digits_[d] = glyph;
    }
}

void LabelFont::Draw(Canvas& target, const QRect& box, const char* text, int length) const {
    const QRect area = box & target.rect();
    const int left = box.left() + (box.width() - length * advance_) / 2;
    for (int k = 0; k < length; ++k) {
        const int d = text[k] - '0';
        if (d < 0 || d > 9) continue;
        const QImage& glyph = digits_[d];
        const int gx = left + k * advance_;
        for (int y = 0; y < glyph.height(); ++y) {
            const int ty = box.top() + y;
            if (ty < area.top() || ty > area.bottom()) continue;
            const auto* src = reinterpret_cast<const QRgb*>(glyph.constScanLine(y));
            QRgb* dst = target.Row(ty);
            for (int x = 0; x < glyph.width(); ++x) {
                const int tx = gx + x;
                if (tx < area.left() || tx > area.right()) continue;
                const QRgb s = src[x];
                const int a = qAlpha(s);
                if (a == 0) continue;
                const QRgb t = dst[tx];
                auto mix = [a](int sc, int tc) { return sc + (tc * (255 - a) + 127) / 255; };
                dst[tx] =
                    qRgb(mix(qRed(s), qRed(t)), mix(qGreen(s), qGreen(t)), mix(qBlue(s), qBlue(t)));
            }
        }
    }
}

void Renderer::PrepareSprites() {
    for (int k = 0; k < kColorCount; ++k) {
        SpriteStrips[k] = &pictures_.strips[k];
        const Canvas& strip = pictures_.strips[k];
        stretchedStrips_[k] = Canvas(strip.width(), strip.height());
        stretchedStrips_[k].Stretch(strip, QRect(0, 1, strip.width(), CellSize - 1),
                                    QRect(0, 0, strip.width(), CellSize));
    }
    const QPoint s = kTransparentSample;
    CellTransparentColor = SpriteStrips[kStripForTransparentColor - 1]->Pixel(s.x(), s.y());
    const Canvas& erase = pictures_.Erase;
    eraseTransparentColor_ = erase.Pixel(0, erase.height() - 1);
}

// One cell of a piece: the falling piece uses the whole frame, the preview the frame without
// its top row stretched to 18 rows. Colours without a strip draw nothing.
void Renderer::DrawCell(Canvas& target, int code, int color, QPoint at, bool wholeFrame) {
    if (code == kSpecialCell) {
        target.DrawTransparent(pictures_.Erase, at, eraseTransparentColor_);
        return;
    }
    if (code < kMinPieceCode || code > kMaxPieceCode || color < 1 || color > kColorCount) return;
    const Canvas& strip = *SpriteStrips[color - 1];
    if (wholeFrame) {
        target.DrawTransparent(strip, QRect(FrameX(code), 0, CellSize, CellSize), at,
                               CellTransparentColor);
    } else {
        target.DrawTransparent(stretchedStrips_[color - 1],
                               QRect(FrameX(code), 0, CellSize, CellSize), at,
                               CellTransparentColor);
    }
}

}  // namespace zonky
