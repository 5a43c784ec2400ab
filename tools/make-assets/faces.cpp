// The avatars, the Options glyphs, the program icon and the welcome dialog's game pictures.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QRawFont>
#include <array>
#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>

#include "tools/make-assets/pictures.h"

namespace assets {
namespace {

constexpr double kPi = 3.14159265358979323846;

QPainterPath TextOutline(const char* face, double size, const QString& text) {
    QRawFont f(FontFile(face), size, QFont::PreferNoHinting);
    if (!f.isValid()) throw std::runtime_error("cannot load font " + FontFile(face).toStdString());
    const QList<quint32> glyphs = f.glyphIndexesForString(text);
    const QList<QPointF> adv = f.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
    QPainterPath path;
    QPointF pen(0, 0);
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        path.addPath(f.pathForGlyph(glyphs[i]).translated(pen));
        pen += adv[i];
    }
    path.setFillRule(Qt::WindingFill);
    return path;
}

QPainterPath Centred(const QPainterPath& path, double cx, double baseline) {
    return path.translated(cx - path.boundingRect().center().x(), baseline);
}

void OutlinedText(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& outline,
                  double width) {
    QPainterPathStroker s;
    s.setWidth(width);
    s.setJoinStyle(Qt::RoundJoin);
    p.setPen(Qt::NoPen);
    p.setBrush(outline);
    p.drawPath(s.createStroke(path).united(path));
    p.setBrush(fill);
    p.drawPath(path);
}

// ---- avatars ----------------------------------------------------------------------------

struct Face {
    int skin, hair_style, hair_colour, eyes, mouth, hat, extra, shirt;
};

// 25 faces, each a different mix. hair_style: 0 short, 1 spiky, 2 long, 3 bald, 4 curly,
// 5 bob with fringe. eyes: 0 dots, 1 big, 2 happy arcs, 3 sunglasses, 4 wink, 5 sleepy.
// mouth: 0 smile, 1 laugh, 2 flat, 3 grin, 4 "o", 5 tongue. hat: 0 none, 1 cap, 2 top hat,
// 3 crown, 4 beanie, 5 bow, 6 cowboy, 7 headphones. extra: 0 none, 1 moustache, 2 beard,
// 3 freckles, 4 rosy cheeks, 5 round glasses.
constexpr std::array<Face, 25> kFaces = {{
    {0, 0, 0, 0, 0, 0, 0, 0}, {1, 2, 1, 1, 1, 0, 4, 1}, {2, 4, 2, 2, 0, 0, 0, 2},
    {3, 3, 0, 0, 3, 2, 1, 3}, {4, 1, 3, 1, 4, 0, 3, 4}, {0, 5, 4, 2, 0, 5, 4, 5},
    {1, 0, 5, 3, 3, 1, 0, 6}, {2, 3, 0, 5, 2, 4, 2, 7}, {3, 2, 2, 4, 1, 0, 0, 0},
    {4, 4, 0, 1, 5, 0, 5, 1}, {0, 1, 1, 0, 1, 3, 0, 2}, {1, 5, 0, 1, 0, 0, 3, 3},
    {2, 0, 3, 0, 4, 6, 2, 4}, {3, 4, 4, 2, 3, 0, 4, 5}, {4, 3, 0, 3, 0, 7, 0, 6},
    {0, 2, 0, 5, 5, 0, 0, 7}, {1, 1, 2, 2, 2, 4, 1, 0}, {2, 5, 1, 4, 0, 0, 5, 1},
    {3, 0, 4, 1, 1, 1, 3, 2}, {4, 2, 3, 0, 3, 5, 4, 3}, {0, 4, 5, 3, 1, 0, 1, 4},
    {1, 3, 0, 1, 4, 3, 2, 5}, {2, 1, 0, 5, 0, 7, 0, 6}, {3, 5, 2, 0, 5, 0, 5, 7},
    {4, 0, 1, 2, 1, 2, 0, 0},
}};

const QColor kSkin[5] = {QColor(255, 220, 186), QColor(241, 194, 150), QColor(214, 160, 112),
                         QColor(166, 112, 72), QColor(112, 72, 48)};
const QColor kHair[6] = {QColor(40, 28, 20),  QColor(120, 70, 30),   QColor(226, 184, 90),
                         QColor(196, 80, 30), QColor(150, 150, 160), QColor(40, 40, 150)};
const QColor kShirt[8] = {QColor(220, 50, 50),   QColor(40, 120, 220), QColor(40, 170, 80),
                          QColor(240, 170, 30),  QColor(150, 70, 200), QColor(30, 160, 170),
                          QColor(230, 110, 160), QColor(90, 90, 100)};

void DrawFace(QPainter& p, const Face& f) {
    const QColor skin = kSkin[f.skin], hair = kHair[f.hair_colour];
    const QColor skin_line = skin.darker(150), hair_line = hair.darker(160);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Shoulders.
    p.setPen(QPen(kShirt[f.shirt].darker(150), 1));
    p.setBrush(kShirt[f.shirt]);
    p.drawEllipse(QRectF(4, 26.5, 24, 14));
    // Long hair behind the head.
    if (f.hair_style == 2) {
        p.setPen(QPen(hair_line, 1));
        p.setBrush(hair);
        QPainterPath back;
        back.addRoundedRect(QRectF(5, 6, 22, 23), 9, 9);
        p.drawPath(back);
    }
    // Ears and head.
    p.setPen(QPen(skin_line, 1));
    p.setBrush(skin);
    p.drawEllipse(QPointF(7, 17), 2.2, 2.8);
    p.drawEllipse(QPointF(25, 17), 2.2, 2.8);
    p.drawEllipse(QRectF(7, 7, 18, 21));
    // Hair on top.
    p.setPen(QPen(hair_line, 1));
    p.setBrush(hair);
    switch (f.hair_style) {
        case 0: {  // short
            QPainterPath h;
            h.moveTo(7.2, 15);
            h.cubicTo(6.5, 5.5, 25.5, 5.5, 24.8, 15);
            h.cubicTo(21, 11, 14, 11.5, 7.2, 15);
            p.drawPath(h);
            break;
        }
        case 1: {  // spiky
            QPolygonF s;
            s << QPointF(7, 15) << QPointF(6, 7) << QPointF(10, 9.5) << QPointF(11, 3.5)
              << QPointF(14.5, 8) << QPointF(16.5, 2.5) << QPointF(18.5, 8) << QPointF(22, 3.5)
              << QPointF(22.5, 9.5) << QPointF(26, 7) << QPointF(25, 15) << QPointF(20, 11.5)
              << QPointF(12, 11.5);
            p.drawPolygon(s);
            break;
        }
        case 2: {  // long: fringe
            QPainterPath h;
            h.moveTo(6.5, 17);
            h.cubicTo(6, 4.5, 26, 4.5, 25.5, 17);
            h.cubicTo(23, 12, 18, 10.5, 16, 10.5);
            h.cubicTo(13, 10.5, 9, 12, 6.5, 17);
            p.drawPath(h);
            break;
        }
        case 3: {  // bald: a shine
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 110));
            p.drawEllipse(QRectF(11, 8.5, 6, 3));
            break;
        }
        case 4: {  // curly
            const QPointF c[] = {{8, 13},     {9.5, 9.5},  {12.5, 7.5}, {16, 6.5},
                                 {19.5, 7.5}, {22.5, 9.5}, {24, 13}};
            for (QPointF q : c) p.drawEllipse(q, 3.2, 3.2);
            break;
        }
        case 5: {  // bob with a straight fringe
            QPainterPath h;
            h.moveTo(5.8, 23);
            h.cubicTo(4.5, 3, 27.5, 3, 26.2, 23);
            h.lineTo(23.5, 23);
            h.lineTo(23.5, 13);
            h.lineTo(8.5, 13);
            h.lineTo(8.5, 23);
            h.closeSubpath();
            p.drawPath(h);
            break;
        }
    }
    // Eyes.
    const QColor ink(30, 24, 24);
    const double ey = 17.5, lx = 12.5, rx = 19.5;
    auto dot = [&](double x, double y, double r) {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(QPointF(x, y), r, r);
    };
    auto arc = [&](double x, double y, bool up) {
        p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath a;
        a.moveTo(x - 1.8, y);
        a.quadTo(x, up ? y - 2.2 : y + 2.0, x + 1.8, y);
        p.drawPath(a);
    };
    switch (f.eyes) {
        case 0:
            dot(lx, ey, 1.4);
            dot(rx, ey, 1.4);
            break;
        case 1:
            for (double x : {lx, rx}) {
                p.setPen(QPen(ink, 0.8));
                p.setBrush(Qt::white);
                p.drawEllipse(QPointF(x, ey - 0.3), 2.4, 2.6);
                dot(x + 0.5, ey, 1.2);
            }
            break;
        case 2:
            arc(lx, ey + 0.5, true);
            arc(rx, ey + 0.5, true);
            break;
        case 3: {
            p.setPen(QPen(QColor(10, 10, 10), 1));
            p.setBrush(QColor(20, 20, 30));
            p.drawRoundedRect(QRectF(9, 15.5, 6.5, 4), 1.5, 1.5);
            p.drawRoundedRect(QRectF(16.5, 15.5, 6.5, 4), 1.5, 1.5);
            p.drawLine(QPointF(15.5, 16.5), QPointF(16.5, 16.5));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 150));
            p.drawEllipse(QRectF(10, 16, 2, 1.2));
            p.drawEllipse(QRectF(17.5, 16, 2, 1.2));
            break;
        }
        case 4:
            dot(lx, ey, 1.4);
            arc(rx, ey + 0.8, true);
            break;
        case 5:
            for (double x : {lx, rx}) {
                dot(x, ey + 0.4, 1.3);
                p.setPen(QPen(skin_line, 1.1));
                p.drawLine(QPointF(x - 2, ey - 0.6), QPointF(x + 2, ey - 0.6));
            }
            break;
    }
    // Extras under the mouth layer.
    if (f.extra == 2) {  // beard
        p.setPen(QPen(hair_line, 0.8));
        p.setBrush(hair);
        QPainterPath b;
        b.moveTo(8, 19);
        b.cubicTo(8.5, 30, 23.5, 30, 24, 19);
        b.cubicTo(21, 24, 11, 24, 8, 19);
        p.drawPath(b);
    }
    if (f.extra == 3) {  // freckles
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(170, 100, 60));
        for (QPointF q : {QPointF(10.5, 21), QPointF(12, 22), QPointF(11.5, 20.2),
                          QPointF(21.5, 21), QPointF(20, 22), QPointF(20.5, 20.2)})
            p.drawEllipse(q, 0.55, 0.55);
    }
    if (f.extra == 4) {  // rosy cheeks
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 90, 110, 110));
        p.drawEllipse(QPointF(10.2, 21.5), 2.0, 1.4);
        p.drawEllipse(QPointF(21.8, 21.5), 2.0, 1.4);
    }
    // Nose.
    p.setPen(QPen(skin_line, 1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 19.3), QPointF(16.8, 21));
    // Mouth.
    const double my = 24;
    switch (f.mouth) {
        case 0: {
            p.setPen(QPen(QColor(120, 30, 30), 1.2, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            QPainterPath m;
            m.moveTo(13, my - 0.8);
            m.quadTo(16, my + 2.2, 19, my - 0.8);
            p.drawPath(m);
            break;
        }
        case 1:
        case 5: {
            p.setPen(QPen(QColor(90, 20, 20), 0.8));
            p.setBrush(QColor(150, 30, 40));
            QPainterPath m;
            m.moveTo(12.5, my - 1);
            m.lineTo(19.5, my - 1);
            m.quadTo(19.5, my + 3.2, 16, my + 3.2);
            m.quadTo(12.5, my + 3.2, 12.5, my - 1);
            p.drawPath(m);
            if (f.mouth == 5) {
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(240, 110, 130));
                p.drawEllipse(QPointF(16.8, my + 2.4), 1.8, 1.3);
            }
            break;
        }
        case 2:
            p.setPen(QPen(QColor(110, 40, 40), 1.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(13.5, my), QPointF(18.5, my));
            break;
        case 3:
            p.setPen(QPen(QColor(90, 20, 20), 0.8));
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(12, my - 1.5, 8, 3.2), 1.4, 1.4);
            p.drawLine(QPointF(12.3, my + 0.1), QPointF(19.7, my + 0.1));
            break;
        case 4:
            p.setPen(QPen(QColor(90, 20, 20), 0.8));
            p.setBrush(QColor(120, 20, 30));
            p.drawEllipse(QPointF(16, my + 0.5), 1.5, 1.9);
            break;
    }
    if (f.extra == 1) {  // moustache
        p.setPen(Qt::NoPen);
        p.setBrush(hair.lightness() > 160 ? hair.darker(130) : hair);
        QPainterPath m;
        m.moveTo(16, 21.4);
        m.cubicTo(13.5, 20.8, 11, 22, 10.5, 23.6);
        m.cubicTo(12.5, 22.8, 14.5, 23, 16, 22.6);
        m.cubicTo(17.5, 23, 19.5, 22.8, 21.5, 23.6);
        m.cubicTo(21, 22, 18.5, 20.8, 16, 21.4);
        p.drawPath(m);
    }
    if (f.extra == 5) {  // round glasses
        p.setPen(QPen(QColor(40, 40, 60), 1));
        p.setBrush(QColor(200, 230, 255, 60));
        p.drawEllipse(QPointF(lx, ey), 3, 3);
        p.drawEllipse(QPointF(rx, ey), 3, 3);
        p.drawLine(QPointF(lx + 3, ey), QPointF(rx - 3, ey));
    }
    // Hats.
    switch (f.hat) {
        case 1: {  // cap
            p.setPen(QPen(QColor(120, 10, 10), 1));
            p.setBrush(QColor(210, 30, 40));
            QPainterPath c;
            c.moveTo(6.5, 13);
            c.cubicTo(6.5, 3, 25.5, 3, 25.5, 13);
            c.closeSubpath();
            p.drawPath(c);
            p.drawRoundedRect(QRectF(15, 11.3, 14, 2.8), 1.3, 1.3);
            p.setBrush(Qt::white);
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(16, 5.6), 1.1, 1.1);
            break;
        }
        case 2: {  // top hat
            p.setPen(QPen(QColor(0, 0, 0), 1));
            p.setBrush(QColor(30, 30, 36));
            p.drawRect(QRectF(10, 0.5, 12, 9.5));
            p.drawRoundedRect(QRectF(5.5, 9.2, 21, 2.8), 1.2, 1.2);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(200, 40, 40));
            p.drawRect(QRectF(10.5, 7, 11, 2));
            break;
        }
        case 3: {  // crown
            p.setPen(QPen(QColor(150, 100, 0), 0.9));
            p.setBrush(QColor(255, 204, 30));
            QPolygonF c;
            c << QPointF(8.5, 11.5) << QPointF(8, 3.5) << QPointF(12, 7) << QPointF(16, 1.5)
              << QPointF(20, 7) << QPointF(24, 3.5) << QPointF(23.5, 11.5);
            p.drawPolygon(c);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(220, 30, 60));
            p.drawEllipse(QPointF(16, 8.5), 1.3, 1.3);
            p.setBrush(QColor(40, 120, 230));
            p.drawEllipse(QPointF(11.5, 9.5), 0.9, 0.9);
            p.drawEllipse(QPointF(20.5, 9.5), 0.9, 0.9);
            break;
        }
        case 4: {  // beanie with a pompom
            p.setPen(QPen(QColor(20, 80, 60), 1));
            p.setBrush(QColor(40, 170, 120));
            QPainterPath b;
            b.moveTo(6.5, 13.5);
            b.cubicTo(6, 2.5, 26, 2.5, 25.5, 13.5);
            b.closeSubpath();
            p.drawPath(b);
            p.setBrush(QColor(250, 250, 240));
            p.drawRoundedRect(QRectF(6, 11.2, 20, 3.4), 1.5, 1.5);
            p.drawEllipse(QPointF(16, 3.2), 2.6, 2.6);
            break;
        }
        case 5: {  // bow
            p.setPen(QPen(QColor(160, 20, 90), 0.9));
            p.setBrush(QColor(255, 90, 170));
            QPolygonF l, r;
            l << QPointF(21, 8) << QPointF(17, 4.5) << QPointF(17, 11.5);
            r << QPointF(21, 8) << QPointF(25, 4.5) << QPointF(25, 11.5);
            p.drawPolygon(l);
            p.drawPolygon(r);
            p.drawEllipse(QPointF(21, 8), 1.6, 1.6);
            break;
        }
        case 6: {  // cowboy hat
            p.setPen(QPen(QColor(90, 50, 20), 1));
            p.setBrush(QColor(170, 110, 50));
            QPainterPath h;
            h.moveTo(10, 11);
            h.cubicTo(9.5, 1.5, 22.5, 1.5, 22, 11);
            h.closeSubpath();
            p.drawPath(h);
            QPainterPath brim;
            brim.moveTo(1.5, 9);
            brim.cubicTo(6, 14.5, 26, 14.5, 30.5, 9);
            brim.cubicTo(26, 11.5, 6, 11.5, 1.5, 9);
            p.drawPath(brim);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(80, 40, 20));
            p.drawRect(QRectF(10, 8.5, 12, 1.6));
            break;
        }
        case 7: {  // headphones
            p.setPen(QPen(QColor(40, 40, 50), 2.0, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            QPainterPath band;
            band.moveTo(6, 16);
            band.cubicTo(5, 2, 27, 2, 26, 16);
            p.drawPath(band);
            p.setPen(QPen(QColor(20, 20, 30), 0.8));
            p.setBrush(QColor(230, 60, 60));
            p.drawRoundedRect(QRectF(3.5, 13.5, 5, 8), 2, 2);
            p.drawRoundedRect(QRectF(23.5, 13.5, 5, 8), 2, 2);
            break;
        }
        default:
            break;
    }
}

// ---- the program icon -------------------------------------------------------------------

struct Poly {
    std::vector<QPointF> points;
    QColor colour;
};

QColor Lighter(QColor c, double t) {
    return QColor::fromRgbF(c.redF() + (1 - c.redF()) * t, c.greenF() + (1 - c.greenF()) * t,
                            c.blueF() + (1 - c.blueF()) * t);
}
QColor Darker(QColor c, double t) {
    return QColor::fromRgbF(c.redF() * (1 - t), c.greenF() * (1 - t), c.blueF() * (1 - t));
}

// A bevelled square at (x, y), side s: top and left light, bottom and right dark.
void BevelSquare(std::vector<Poly>& out, double x, double y, double s, QColor c) {
    const double b = s * 0.17;
    out.push_back({{{x, y}, {x + s, y}, {x + s, y + s}, {x, y + s}}, c});
    out.push_back({{{x, y}, {x + s, y}, {x + s - b, y + b}, {x + b, y + b}}, Lighter(c, 0.55)});
    out.push_back({{{x, y}, {x + b, y + b}, {x + b, y + s - b}, {x, y + s}}, Lighter(c, 0.35)});
    out.push_back({{{x + s, y}, {x + s, y + s}, {x + s - b, y + s - b}, {x + s - b, y + b}},
                   Darker(c, 0.35)});
    out.push_back(
        {{{x, y + s}, {x + b, y + s - b}, {x + s - b, y + s - b}, {x + s, y + s}}, Darker(c, 0.5)});
}

// The two halves of a merged cell: T+L (upper-left triangle) in c1, R+B in c2.
void BevelHalves(std::vector<Poly>& out, double x, double y, double s, QColor c1, QColor c2) {
    const double b = s * 0.17, k = b * (1 + std::sqrt(2.0));
    // Upper-left triangle.
    out.push_back({{{x, y}, {x + s, y}, {x, y + s}}, c1});
    out.push_back({{{x, y}, {x + s, y}, {x + s - k, y + b}, {x + b, y + b}}, Lighter(c1, 0.55)});
    out.push_back({{{x, y}, {x + b, y + b}, {x + b, y + s - k}, {x, y + s}}, Lighter(c1, 0.35)});
    out.push_back(
        {{{x + s, y}, {x, y + s}, {x + b, y + s - k}, {x + s - k, y + b}}, Darker(c1, 0.3)});
    // Lower-right triangle.
    out.push_back({{{x + s, y}, {x + s, y + s}, {x, y + s}}, c2});
    out.push_back({{{x + s, y}, {x + s, y + s}, {x + s - b, y + s - b}, {x + s - b, y + k}},
                   Darker(c2, 0.35)});
    out.push_back({{{x, y + s}, {x + s, y + s}, {x + s - b, y + s - b}, {x + k, y + s - b}},
                   Darker(c2, 0.5)});
    out.push_back(
        {{{x + s, y}, {x + s - b, y + k}, {x + k, y + s - b}, {x, y + s}}, Lighter(c2, 0.5)});
}

std::vector<Poly> IconShapes() {
    std::vector<Poly> out;
    // The well behind the cells: a navy tile with a bright edge.
    out.push_back({{{1, 1}, {31, 1}, {31, 31}, {1, 31}}, QColor(104, 150, 236)});
    out.push_back({{{1, 1}, {30, 1}, {30, 30}, {1, 30}}, QColor(22, 40, 108)});
    BevelSquare(out, 2.5, 2.5, 13, QColor(146, 64, 204));                          // purple
    BevelSquare(out, 16.5, 2.5, 13, QColor(214, 40, 44));                          // red
    BevelSquare(out, 2.5, 16.5, 13, QColor(44, 178, 64));                          // green
    BevelHalves(out, 16.5, 16.5, 13, QColor(246, 140, 24), QColor(40, 100, 226));  // merged pair
    return out;
}

}  // namespace

// Avatars. No text.
QImage MakeAvatar(int index) {
    QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setClipRect(QRect(0, 0, 32, 32));
        DrawFace(p, kFaces[static_cast<size_t>(index)]);
    }
    return img.convertToFormat(QImage::Format_ARGB32);
}

// SpeedButton1 (turn left) and SpeedButton2 (turn right, the mirror image). No text.
QImage MakeSpeedButton(bool turn_right) {
    if (turn_right) return MakeSpeedButton(false).mirrored(true, false);
    QImage img(28, 27, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, true);
        // An arc from the lower right over the top to the left, the head pointing down-left.
        const QPointF c(15.2, 14.5);
        const double r = 8.5;
        QPainterPath arc;
        const double a0 = -50 * kPi / 180, a1 = 178 * kPi / 180;
        for (int i = 0; i <= 40; ++i) {
            const double a = a0 + (a1 - a0) * i / 40.0;
            const QPointF q(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
            if (i == 0)
                arc.moveTo(q);
            else
                arc.lineTo(q);
        }
        const QPointF tip(c.x() - r, c.y() + 7.5);
        QPolygonF head;
        head << QPointF(c.x() - r - 5.5, c.y() - 0.5) << QPointF(c.x() - r + 5.5, c.y() - 0.5)
             << tip;
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(10, 40, 110), 5.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(arc);
        p.setPen(QPen(QColor(10, 40, 110), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(10, 40, 110));
        p.drawPolygon(head);
        QLinearGradient g(0, 4, 0, 24);
        g.setColorAt(0, QColor(120, 200, 255));
        g.setColorAt(1, QColor(30, 110, 220));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QBrush(g), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(arc);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        QPolygonF inner;
        inner << QPointF(c.x() - r - 3.6, c.y() + 0.6) << QPointF(c.x() - r + 3.6, c.y() + 0.6)
              << QPointF(c.x() - r, c.y() + 5.4);
        p.drawPolygon(inner);
    }
    return img.convertToFormat(QImage::Format_ARGB32);
}

// The program icon. No text.
QImage MakeIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.scale(size / 32.0, size / 32.0);
        p.setPen(Qt::NoPen);
        for (const Poly& poly : IconShapes()) {
            p.setBrush(poly.colour);
            p.drawPolygon(poly.points.data(), static_cast<int>(poly.points.size()));
        }
    }
    return img.convertToFormat(QImage::Format_ARGB32);
}

std::string MakeIconSvg() {
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<!-- Zonky Mosaro program icon, written by tools/make-assets -->\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 32 "
         "32\">\n";
    for (const Poly& poly : IconShapes()) {
        s << "  <polygon fill=\"" << poly.colour.name().toStdString() << "\" points=\"";
        for (size_t i = 0; i < poly.points.size(); ++i) {
            // Fixed-point by hand: printf's %f would follow the locale Qt sets up.
            auto num = [](double v) {
                const long m = std::lround(v * 1000);
                std::string t = std::to_string(m / 1000) + "." +
                                std::to_string(1000 + std::labs(m % 1000)).substr(1);
                return (m < 0 && m > -1000 ? "-" : "") + t;
            };
            s << (i ? " " : "") << num(poly.points[i].x()) << "," << num(poly.points[i].y());
        }
        s << "\"/>\n";
    }
    s << "</svg>\n";
    return s.str();
}

IndexedPicture MakeIconDib() {
    const QImage icon = MakeIcon(32);
    IndexedPicture p;
    p.width = 32;
    p.height = 32;
    p.pixels.assign(32 * 32, 0);
    std::vector<QRgb> seen;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            // On white, 16 levels per channel: at most a few dozen colours.
            const QRgb c = icon.pixel(x, y);
            const double a = qAlpha(c) / 255.0;
            auto ch = [a](int v) {
                return static_cast<int>(std::lround((v * a + 255 * (1 - a)) / 17.0)) * 17;
            };
            const QRgb q = qRgb(ch(qRed(c)), ch(qGreen(c)), ch(qBlue(c)));
            auto it = std::find(seen.begin(), seen.end(), q);
            if (it == seen.end()) {
                if (seen.size() >= 256) throw std::runtime_error("icon has too many colours");
                seen.push_back(q);
                it = seen.end() - 1;
            }
            p.pixels[static_cast<size_t>(y) * 32 + x] =
                static_cast<std::uint8_t>(it - seen.begin());
        }
    for (QRgb c : seen)
        p.palette.push_back({static_cast<std::uint8_t>(qRed(c)),
                             static_cast<std::uint8_t>(qGreen(c)),
                             static_cast<std::uint8_t>(qBlue(c))});
    return p;
}

const char* GamePictureName(int which) {
    return which == 0 ? "Zonky Cascade" : "Mosaro Tiles";
}

// The welcome dialog's pictures of two sister games. Font: Comic Neue Bold for the names.
QImage MakeGamePicture(int which) {
    QImage img(100, 100, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (which == 0) {
        // Zonky Cascade: glossy bubbles stacked under a violet sky, a shooter below.
        QLinearGradient g(0, 0, 0, 100);
        g.setColorAt(0, QColor(60, 30, 120));
        g.setColorAt(1, QColor(150, 90, 200));
        p.fillRect(img.rect(), g);
        const QColor colours[] = {QColor(240, 60, 60), QColor(60, 180, 240), QColor(250, 210, 40),
                                  QColor(80, 210, 90), QColor(230, 110, 220)};
        int k = 0;
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < (row % 2 ? 6 : 7); ++col) {
                if (row == 3 && (col < 2 || col > 3)) continue;
                const double x = 8 + col * 14 + (row % 2 ? 7 : 0), y = 34 + row * 12;
                const QColor c = colours[(k * 3 + row) % 5];
                ++k;
                QRadialGradient rg(x - 2, y - 2.5, 7);
                rg.setColorAt(0, c.lighter(170));
                rg.setColorAt(0.5, c);
                rg.setColorAt(1, c.darker(160));
                p.setPen(QPen(c.darker(200), 0.8));
                p.setBrush(rg);
                p.drawEllipse(QPointF(x, y), 6.6, 6.6);
            }
        // Shooter.
        p.setPen(QPen(QColor(30, 20, 60), 1));
        p.setBrush(QColor(200, 200, 220));
        p.drawPie(QRectF(38, 86, 24, 24), 0, 180 * 16);
        p.setBrush(QColor(240, 60, 60));
        p.drawEllipse(QPointF(50, 84), 5.5, 5.5);
        p.setPen(QPen(QColor(255, 255, 255, 160), 1.2, Qt::DashLine));
        p.drawLine(QPointF(50, 78), QPointF(58, 66));
        const QPainterPath t1 =
            Centred(TextOutline("ComicNeue-Bold", 19, QStringLiteral("Zonky")), 50, 17);
        const QPainterPath t2 =
            Centred(TextOutline("ComicNeue-Bold", 14, QStringLiteral("Cascade")), 50, 27);
        OutlinedText(p, t1, QColor(255, 240, 120), QColor(40, 10, 80), 3);
        OutlinedText(p, t2, QColor(140, 230, 255), QColor(40, 10, 80), 3);
    } else {
        // Mosaro Tiles: a flower patch on a green checkerboard under a blue sky.
        for (int y = 0; y < 100; y += 10)
            for (int x = 0; x < 100; x += 10)
                p.fillRect(QRect(x, y, 10, 10),
                           ((x + y) / 10) % 2 ? QColor(110, 190, 70) : QColor(96, 176, 60));
        QLinearGradient sky(0, 0, 0, 34);
        sky.setColorAt(0, QColor(90, 160, 240));
        sky.setColorAt(1, QColor(170, 215, 250));
        p.fillRect(QRect(0, 0, 100, 34), sky);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 220, 60));
        p.drawEllipse(QPointF(86, 10), 6, 6);
        const QColor petals[] = {QColor(240, 70, 90),  QColor(250, 200, 40),  QColor(170, 90, 230),
                                 QColor(255, 140, 40), QColor(250, 250, 250), QColor(60, 140, 240)};
        const QPointF at[] = {{18, 50}, {42, 58}, {70, 48}, {28, 78}, {58, 84}, {84, 74}};
        for (int i = 0; i < 6; ++i) {
            const QPointF c = at[i];
            p.setPen(QPen(QColor(30, 110, 30), 2));
            p.drawLine(c, c + QPointF(0, 11));
            p.setPen(QPen(petals[i].darker(150), 0.8));
            p.setBrush(petals[i]);
            for (int k = 0; k < 5; ++k) {
                const double a = 2 * kPi * k / 5 - kPi / 2;
                p.drawEllipse(c + QPointF(4.2 * std::cos(a), 4.2 * std::sin(a)), 3.4, 3.4);
            }
            p.setBrush(QColor(250, 220, 60));
            p.setPen(QPen(QColor(160, 110, 0), 0.8));
            p.drawEllipse(c, 2.4, 2.4);
        }
        // A little watering can.
        p.setPen(QPen(QColor(40, 60, 80), 1));
        p.setBrush(QColor(120, 160, 190));
        p.drawRoundedRect(QRectF(6, 86, 14, 10), 2, 2);
        p.drawLine(QPointF(20, 88), QPointF(26, 83));
        const QPainterPath t1 =
            Centred(TextOutline("ComicNeue-Bold", 17, QStringLiteral("Mosaro")), 44, 15);
        const QPainterPath t2 =
            Centred(TextOutline("ComicNeue-Bold", 14, QStringLiteral("Tiles")), 44, 28);
        OutlinedText(p, t1, QColor(255, 250, 230), QColor(30, 80, 20), 3);
        OutlinedText(p, t2, QColor(255, 200, 80), QColor(30, 80, 20), 3);
    }
    p.end();
    return img;
}

}  // namespace assets
