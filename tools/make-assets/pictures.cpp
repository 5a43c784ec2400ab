#include "tools/make-assets/pictures.h"

#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QRawFont>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <sstream>
#include <stdexcept>

#include "game/cell_codes.h"

namespace assets {
namespace {

constexpr double kSqrt2 = 1.4142135623730951;

Rgb Mix(Rgb a, Rgb b, double t) {
    auto m = [t](int x, int y) {
        return static_cast<std::uint8_t>(std::clamp(std::lround(x + (y - x) * t), 0L, 255L));
    };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}
Rgb FromQ(QRgb c) {
    return {static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
            static_cast<std::uint8_t>(qBlue(c))};
}

// ---- fonts ------------------------------------------------------------------------------

QRawFont LoadFont(const char* face, double pixel_size) {
    QRawFont f(FontFile(face), pixel_size, QFont::PreferNoHinting);
    if (!f.isValid()) throw std::runtime_error("cannot load font " + FontFile(face).toStdString());
    return f;
}

// The outline of a text, baseline at y 0, starting at x 0.
QPainterPath TextPath(const QRawFont& font, const QString& text) {
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    const QList<QPointF> adv = font.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
    QPainterPath path;
    QPointF pen(0, 0);
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        QPainterPath g = font.pathForGlyph(glyphs[i]);
        path.addPath(g.translated(pen));
        pen += adv[i];
    }
    path.setFillRule(Qt::WindingFill);
    return path;
}

// Places a path so that its bounding box is centred in rect, scaled to fit (uniformly, or
// stretched to the rect when stretch is set).
QPainterPath FitPath(const QPainterPath& path, const QRectF& rect, bool stretch) {
    const QRectF b = path.boundingRect();
    double sx = rect.width() / b.width(), sy = rect.height() / b.height();
    if (!stretch) sx = sy = std::min(sx, sy);
    QTransform t;
    t.translate(rect.center().x(), rect.center().y());
    t.scale(sx, sy);
    t.translate(-b.center().x(), -b.center().y());
    return t.map(path);
}

// ---- palettes ---------------------------------------------------------------------------

// Deterministic median cut: returns at most n colours for the histogram.
std::vector<Rgb> MedianCut(const std::map<std::uint32_t, long>& histogram, size_t n) {
    struct Entry {
        Rgb c;
        long count;
    };
    std::vector<Entry> all;
    for (const auto& [key, count] : histogram)
        all.push_back({Rgb{static_cast<std::uint8_t>(key >> 16),
                           static_cast<std::uint8_t>(key >> 8), static_cast<std::uint8_t>(key)},
                       count});
    if (all.size() <= n) {
        std::vector<Rgb> out;
        for (const Entry& e : all) out.push_back(e.c);
        return out;
    }
    std::vector<std::vector<Entry>> boxes{all};
    while (boxes.size() < n) {
        // Split the box with the largest (range x pixel count) along its widest channel.
        size_t best = 0;
        double best_score = -1;
        int best_channel = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].size() < 2) continue;
            int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
            long total = 0;
            for (const Entry& e : boxes[i]) {
                const int v[3] = {e.c.r, e.c.g, e.c.b};
                for (int k = 0; k < 3; ++k)
                    lo[k] = std::min(lo[k], v[k]), hi[k] = std::max(hi[k], v[k]);
                total += e.count;
            }
            int ch = 0;
            for (int k = 1; k < 3; ++k)
                if (hi[k] - lo[k] > hi[ch] - lo[ch]) ch = k;
            const double score =
                static_cast<double>(hi[ch] - lo[ch]) * std::sqrt(static_cast<double>(total));
            if (score > best_score) best_score = score, best = i, best_channel = ch;
        }
        if (best_score <= 0) break;
        std::vector<Entry> box = std::move(boxes[best]);
        auto value = [best_channel](const Entry& e) {
            return best_channel == 0 ? e.c.r : best_channel == 1 ? e.c.g : e.c.b;
        };
        std::stable_sort(box.begin(), box.end(),
                         [&](const Entry& a, const Entry& b) { return value(a) < value(b); });
        long total = 0;
        for (const Entry& e : box) total += e.count;
        long run = 0;
        size_t cut = 1;
        for (size_t i = 0; i + 1 < box.size(); ++i) {
            run += box[i].count;
            cut = i + 1;
            if (run * 2 >= total) break;
        }
        boxes[best] = std::vector<Entry>(box.begin(), box.begin() + static_cast<long>(cut));
        boxes.push_back(std::vector<Entry>(box.begin() + static_cast<long>(cut), box.end()));
    }
    std::vector<Rgb> out;
    for (const auto& box : boxes) {
        double r = 0, g = 0, b = 0, w = 0;
        for (const Entry& e : box)
            r += e.c.r * double(e.count), g += e.c.g * double(e.count),
                b += e.c.b * double(e.count), w += double(e.count);
        out.push_back({static_cast<std::uint8_t>(std::lround(r / w)),
                       static_cast<std::uint8_t>(std::lround(g / w)),
                       static_cast<std::uint8_t>(std::lround(b / w))});
    }
    return out;
}

std::uint32_t Key(Rgb c) {
    return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

// Quantises an RGB image to a palette: the colours of `exact` keep their values (pixels of those
// colours map to them), the others share what is left of 256 entries. No entry is `avoid`.
IndexedPicture Quantise(const QImage& image, const std::vector<Rgb>& exact, Rgb avoid) {
    std::map<std::uint32_t, long> histogram;
    std::map<std::uint32_t, int> exact_index;
    std::vector<Rgb> palette;
    for (Rgb c : exact)
        if (!exact_index.count(Key(c)))
            exact_index[Key(c)] = static_cast<int>(palette.size()), palette.push_back(c);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const Rgb c = FromQ(image.pixel(x, y));
            if (!exact_index.count(Key(c))) ++histogram[Key(c)];
        }
    for (Rgb c : MedianCut(histogram, 256 - palette.size())) {
        if (c == avoid) c.b = static_cast<std::uint8_t>(c.b - 1);
        palette.push_back(c);
    }
    IndexedPicture p;
    p.width = image.width();
    p.height = image.height();
    p.palette = palette;
    p.pixels.resize(static_cast<size_t>(p.width) * p.height);
    std::map<std::uint32_t, int> cache = exact_index;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const Rgb c = FromQ(image.pixel(x, y));
            auto it = cache.find(Key(c));
            int idx;
            if (it != cache.end()) {
                idx = it->second;
            } else {
                long best = -1;
                idx = 0;
                for (size_t i = exact.size(); i < palette.size(); ++i) {
                    const long dr = c.r - palette[i].r, dg = c.g - palette[i].g,
                               db = c.b - palette[i].b;
                    const long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                    if (best < 0 || d < best) best = d, idx = static_cast<int>(i);
                }
                cache[Key(c)] = idx;
            }
            p.pixels[static_cast<size_t>(y) * p.width + x] = static_cast<std::uint8_t>(idx);
        }
    return p;
}

// ---- cell shapes ------------------------------------------------------------------------

using zonky::kBottom;
using zonky::kLeft;
using zonky::kRight;
using zonky::kTop;
using zonky::Quarters;

// Quarters a pixel belongs to. Pixels on a diagonal belong to both quarters beside it, so
// complementary parts drawn over each other always cover the whole square.
int PixelQuarters(int x, int y, int size) {
    const double h = size / 2.0;
    const double cx = x + 0.5 - h, cy = y + 0.5 - h;
    int q = 0;
    if (-cy >= std::abs(cx)) q |= kTop;
    if (cy >= std::abs(cx)) q |= kBottom;
    if (-cx >= std::abs(cy)) q |= kLeft;
    if (cx >= std::abs(cy)) q |= kRight;
    return q;
}

struct Segment {
    double x0, y0, x1, y1;  // in pixel units of the cell
    double nx, ny;          // outward normal
    bool top_edge;
};

double SegmentDistance(const Segment& s, double px, double py) {
    const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    double t = ((px - s.x0) * dx + (py - s.y0) * dy) / (dx * dx + dy * dy);
    t = std::clamp(t, 0.0, 1.0);
    const double ex = s.x0 + t * dx - px, ey = s.y0 + t * dy - py;
    return std::sqrt(ex * ex + ey * ey);
}

std::vector<Segment> Boundary(int quarters, double size) {
    std::vector<Segment> out;
    const double c = size / 2, s = size, r = 1 / kSqrt2;
    if (quarters & kTop) out.push_back({0, 0, s, 0, 0, -1, true});
    if (quarters & kRight) out.push_back({s, 0, s, s, 1, 0, false});
    if (quarters & kBottom) out.push_back({0, s, s, s, 0, 1, false});
    if (quarters & kLeft) out.push_back({0, 0, 0, s, -1, 0, false});
    auto diag = [&](int a, int b, double cx, double cy, double nax, double nay) {
        // nax, nay: normal pointing into quarter a.
        const bool ia = quarters & a, ib = quarters & b;
        if (ia == ib) return;
        if (ia)
            out.push_back({c, c, cx, cy, -nax, -nay, false});  // outward: toward b
        else
            out.push_back({c, c, cx, cy, nax, nay, false});
    };
    diag(kTop, kLeft, 0, 0, r, -r);      // T lies up-right of the TL diagonal
    diag(kTop, kRight, s, 0, -r, -r);    // T lies up-left of the TR diagonal
    diag(kRight, kBottom, s, s, r, -r);  // R lies up-right of the BR diagonal
    diag(kBottom, kLeft, 0, s, r, r);    // B lies down-right of the BL diagonal
    return out;
}

// Colour of a pixel of a bevelled shape: light where the nearest edge faces the upper left,
// dark where it faces the lower right; two pixels wide (three on the top edge, so the preview
// and the repaint, which leave out row 0, still show a light top).
Rgb ShadeCellPixel(int x, int y, int size, int quarters, Rgb base, double bevel) {
    const double px = x + 0.5, py = y + 0.5;
    double best = 1e9;
    const Segment* near = nullptr;
    const std::vector<Segment> segs = Boundary(quarters, size);
    for (const Segment& s : segs) {
        const double d = SegmentDistance(s, px, py) - (s.top_edge ? bevel / 2 : 0);
        if (d < best - 1e-9) best = d, near = &s;
    }
    const Rgb white{255, 255, 255}, black{0, 0, 0};
    if (near && best < bevel) {
        const double light = (-near->nx - near->ny) / kSqrt2;  // dot with the light direction
        const bool outer = best < bevel / 2;
        double amount;
        if (light > 0.9)
            amount = outer ? 0.62 : 0.40;
        else if (light > 0.5)
            amount = outer ? 0.52 : 0.30;
        else if (light > -0.5)
            amount = outer ? -0.28 : -0.12;
        else if (light > -0.9)
            amount = outer ? -0.50 : -0.30;
        else
            amount = outer ? -0.58 : -0.36;
        return amount > 0 ? Mix(base, white, amount) : Mix(base, black, -amount);
    }
    // Face: a soft diagonal sheen, five steps.
    const double u = (px + py) / (2.0 * size);  // 0 upper left .. 1 lower right
    const int step = std::clamp(static_cast<int>(u * 5), 0, 4);
    static constexpr double kFace[5] = {0.20, 0.12, 0.05, -0.02, -0.09};
    const double a = kFace[step];
    return a > 0 ? Mix(base, white, a) : Mix(base, black, -a);
}

// Adds colours to an indexed picture's palette on first use.
class PaletteBuilder {
  public:
    explicit PaletteBuilder(IndexedPicture& p) : p_(p) {}
    std::uint8_t Index(Rgb c) {
        auto it = index_.find(Key(c));
        if (it != index_.end()) return it->second;
        if (p_.palette.size() >= 256) throw std::runtime_error("palette full");
        const auto i = static_cast<std::uint8_t>(p_.palette.size());
        p_.palette.push_back(c);
        index_[Key(c)] = i;
        return i;
    }
    void Set(int x, int y, Rgb c) { p_.pixels[static_cast<size_t>(y) * p_.width + x] = Index(c); }

  private:
    IndexedPicture& p_;
    std::map<std::uint32_t, std::uint8_t> index_;
};

constexpr std::array<Rgb, 8> kPieceColours = {{
    {0, 0, 0},
    {44, 178, 64},    // 1 green
    {44, 178, 64},    // 2 green (the same picture)
    {214, 40, 44},    // 3 red
    {146, 64, 204},   // 4 purple
    {246, 140, 24},   // 5 orange
    {138, 144, 156},  // 6 grey
    {40, 100, 226},   // 7 blue
}};

// ---- the well tile and the sky ----------------------------------------------------------

Rgb TilePixel(int x, int y) {
    if (x == 17 || y == 17) return (x == 17 && y == 17) ? Rgb{150, 190, 250} : Rgb{104, 150, 236};
    if (x == 0 || y == 0) return {14, 26, 72};
    const int step = std::clamp((x + y) / 7, 0, 4);
    static constexpr Rgb kFace[5] = {
        {30, 54, 132}, {27, 49, 122}, {24, 44, 112}, {21, 39, 102}, {18, 34, 92}};
    return kFace[step];
}

void PaintSky(QPainter& p, const QRect& r) {
    QLinearGradient g(0, 0, 0, 380);
    g.setColorAt(0.0, QColor(52, 104, 188));
    g.setColorAt(0.55, QColor(112, 170, 230));
    g.setColorAt(1.0, QColor(178, 214, 244));
    p.fillRect(r, g);
    // Cartoon clouds at fixed places: puffs on a flat base, white on top, a cool grey below,
    // with a soft halo.
    struct Cloud {
        double x, base, scale;
    };
    const Cloud clouds[] = {{262, 30, 1.0}, {290, 250, 0.8}, {238, 246, 0.7},
                            {52, 14, 0.55}, {160, 13, 0.5},  {266, 379, 0.7}};
    p.setPen(Qt::NoPen);
    for (const Cloud& c : clouds) {
        const double k = c.scale;
        QPainterPath puffs;
        puffs.setFillRule(Qt::WindingFill);
        const double parts[][3] = {
            {-22, -7, 9}, {-9, -13, 12}, {7, -11, 10}, {20, -6, 8}, {-1, -6, 10}};
        for (const auto& q : parts)
            puffs.addEllipse(QPointF(c.x + q[0] * k, c.base + q[1] * k), q[2] * k, q[2] * k);
        QPainterPath below;
        below.addRect(QRectF(c.x - 40 * k, c.base, 80 * k, 30 * k));
        QPainterPath cloud = puffs.subtracted(below).simplified();
        QPainterPathStroker halo;
        halo.setWidth(5 * k);
        p.setBrush(QColor(255, 255, 255, 50));
        p.drawPath(halo.createStroke(cloud).united(cloud));
        QLinearGradient g(0, c.base - 24 * k, 0, c.base);
        g.setColorAt(0.0, QColor(255, 255, 255, 235));
        g.setColorAt(0.65, QColor(246, 250, 255, 225));
        g.setColorAt(1.0, QColor(200, 218, 240, 220));
        p.setBrush(g);
        p.drawPath(cloud);
    }
}

// A painted heading: Comic Neue Bold, warm yellow-to-orange with a navy outline and shadow.
void PaintHeading(QPainter& p, const QString& text, double centre_x, double baseline) {
    const QRawFont font = LoadFont("ComicNeue-Bold", 23);
    QPainterPath path = TextPath(font, text);
    const QRectF b = path.boundingRect();
    path.translate(centre_x - b.center().x(), baseline);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(10, 20, 60, 110));
    p.drawPath(path.translated(1.6, 1.8));
    QPainterPathStroker stroker;
    stroker.setWidth(3.2);
    stroker.setJoinStyle(Qt::RoundJoin);
    p.setBrush(QColor(16, 28, 84));
    p.drawPath(stroker.createStroke(path).united(path));
    const QRectF pb = path.boundingRect();
    QLinearGradient g(0, pb.top(), 0, pb.bottom());
    g.setColorAt(0.0, QColor(255, 244, 150));
    g.setColorAt(0.5, QColor(255, 206, 60));
    g.setColorAt(1.0, QColor(246, 140, 30));
    p.setBrush(g);
    p.drawPath(path);
}

void SunkenFrame(QImage& img, int left, int top, int right, int bottom, int width) {
    // Outer rectangle (left, top)-(right, bottom) inclusive; dark top/left, light bottom/right.
    const QRgb dark1 = qRgb(20, 32, 78), dark2 = qRgb(58, 82, 140);
    const QRgb light1 = qRgb(236, 244, 255), light2 = qRgb(170, 196, 236);
    for (int k = 0; k < width; ++k) {
        const QRgb d = k == 0 ? dark1 : dark2, l = k == 0 ? light1 : light2;
        for (int x = left + k; x <= right - k; ++x)
            img.setPixel(x, top + k, d), img.setPixel(x, bottom - k, l);
        for (int y = top + k; y <= bottom - k; ++y)
            img.setPixel(left + k, y, d), img.setPixel(right - k, y, l);
        img.setPixel(right - k, top + k, d);  // the corners split as a bevel does
        img.setPixel(left + k, bottom - k, d);
    }
}

}  // namespace

QString FontFile(const char* face) {
    const QString name = QString::fromLatin1(face);
    if (name.startsWith(QLatin1String("ComicNeue")))
        return QStringLiteral("/usr/share/fonts/opentype/comic-neue/") + name +
               QStringLiteral(".otf");
    return QStringLiteral("/usr/share/fonts/truetype/liberation2/") + name + QStringLiteral(".ttf");
}

int FrameQuarters(int frame) {
    if (frame >= 0 && frame <= 12) return Quarters(frame - 6);
    if (frame == 13) return Quarters(zonky::kRL);
    if (frame == 14) return Quarters(zonky::kTB);
    return 0;
}

// BkGround. Fonts: the headings Level, Score, Lines, Next in Comic Neue Bold.
IndexedPicture MakeBkGround() {
    QImage img(310, 380, QImage::Format_RGB32);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, true);
        PaintSky(p, img.rect());
        const double cx = (216 + 309) / 2.0;
        PaintHeading(p, QStringLiteral("Level"), cx, 55);
        PaintHeading(p, QStringLiteral("Score"), cx, 123);
        PaintHeading(p, QStringLiteral("Lines"), cx, 191);
        PaintHeading(p, QStringLiteral("Next"), cx, 285);
    }
    // The label boxes: sunken frames one pixel round the 90 x 15 label rectangles.
    for (int top : {64, 132, 200}) {
        for (int y = top; y < top + 15; ++y)
            for (int x = 218; x < 308; ++x) img.setPixel(x, y, qRgb(234, 240, 250));
        SunkenFrame(img, 217, top - 1, 308, top + 15, 1);
    }
    // The next-piece box: inner 72 x 72 at (227, 295), a deep evening sky, two-pixel frame.
    for (int y = 295; y < 367; ++y)
        for (int x = 227; x < 299; ++x) {
            const double u = (y - 295) / 71.0;
            img.setPixel(x, y,
                         qRgb(static_cast<int>(std::lround(22 + 14 * u)),
                              static_cast<int>(std::lround(36 + 22 * u)),
                              static_cast<int>(std::lround(88 + 30 * u))));
        }
    SunkenFrame(img, 225, 293, 300, 368, 2);
    // The well: 12 x 20 identical tiles at x 0..216, y 16..376.
    std::vector<Rgb> exact;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) {
            const Rgb c = TilePixel(x, y);
            if (std::find(exact.begin(), exact.end(), c) == exact.end()) exact.push_back(c);
        }
    for (int y = 16; y < 376; ++y)
        for (int x = 0; x < 216; ++x) {
            const Rgb c = TilePixel(x % 18, (y - 16) % 18);
            img.setPixel(x, y, qRgb(c.r, c.g, c.b));
        }
    return Quantise(img, exact, kStripBackground);
}

// Image1 .. Image7. No text.
IndexedPicture MakeStrip(int colour) {
    IndexedPicture p;
    p.width = 306;
    p.height = 18;
    p.pixels.assign(306 * 18, 0);
    PaletteBuilder pb(p);
    pb.Index(kStripBackground);
    const Rgb base = kPieceColours[static_cast<size_t>(colour)];
    for (int frame = 0; frame < 17; ++frame) {
        const int quarters = FrameQuarters(frame);
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 18; ++x) {
                Rgb c = kStripBackground;
                if (PixelQuarters(x, y, 18) & quarters)
                    c = ShadeCellPixel(x, y, 18, quarters, base, 2.0);
                if (c == kStripBackground && (PixelQuarters(x, y, 18) & quarters)) c.b = 250;
                pb.Set(18 * frame + x, y, c);
            }
    }
    return p;
}

// Erase: the special piece, a stick of dynamite with a lit fuse. No text.
IndexedPicture MakeErase() {
    IndexedPicture p;
    p.width = 18;
    p.height = 18;
    p.palette = {
        {192, 192, 192},  // 0 silver background
        {0, 0, 0},        // 1 black outline
        {120, 0, 8},      // 2 dark red
        {200, 24, 28},    // 3 red
        {246, 96, 84},    // 4 light red
        {255, 226, 0},    // 5 yellow
        {255, 255, 255},  // 6 white
        {255, 140, 0},    // 7 orange
        {96, 64, 40},     // 8 fuse brown
        {160, 120, 80},   // 9 fuse light
        {70, 0, 4},       // 10 deepest red
    };
    p.pixels.assign(18 * 18, 0);
    auto set = [&](int x, int y, int v) {
        if (x >= 0 && y >= 0 && x < 18 && y < 18)
            p.pixels[static_cast<size_t>(y) * 18 + x] = static_cast<std::uint8_t>(v);
    };
    // The stick lies from upper left (6.5, 6.5) to lower right (14, 14).
    const double ax = 6.6, ay = 6.6, bx = 13.8, by = 13.8, radius = 2.9;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double dx = bx - ax, dy = by - ay;
            double t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
            const double tc = std::clamp(t, 0.0, 1.0);
            const double ex = px - (ax + tc * dx), ey = py - (ay + tc * dy);
            const double d = std::sqrt(ex * ex + ey * ey);
            const double side = (-(py - ay) * dx + (px - ax) * dy) /
                                std::sqrt(dx * dx + dy * dy);  // >0 upper right
            if (d <= radius) {
                int v = 3;
                if (side > 1.3)
                    v = 4;  // highlight on the upper-right side
                else if (side < -1.4)
                    v = 2;                           // shadow on the lower-left side
                if (t > 1.0) v = (v == 4) ? 3 : 10;  // the far end cap, darker
                if (std::abs(t - 0.55) < 0.06) v = (v == 4) ? 5 : 7;  // a paper band
                set(x, y, v);
            } else if (d <= radius + 1.0) {
                set(x, y, 1);
            }
        }
    // The fuse from the upper-left end to the spark.
    set(4, 4, 8);
    set(3, 4, 9);
    set(4, 3, 8);
    // The spark at the upper-left end: white heart, yellow rays, orange tips.
    set(2, 2, 6);
    set(3, 2, 5), set(2, 3, 5), set(1, 2, 5), set(2, 1, 5);
    set(1, 1, 7), set(3, 3, 7), set(3, 1, 7), set(1, 3, 7);
    set(0, 2, 7), set(2, 0, 7), set(4, 1, 5), set(1, 4, 5);
    set(5, 0, 7), set(0, 5, 7);
    return p;
}

namespace {

// Lettering on white: a silhouette (fill plus outline, thresholded at half coverage, so no
// half-white fringe survives the white key colour), coloured inside by the antialiased fill.
RgbPicture Lettering(int w, int h, const QPainterPath& fill_path, double outline_width,
                     const QColor& top, const QColor& bottom, Rgb outline, double shadow) {
    QPainterPathStroker stroker;
    stroker.setWidth(outline_width);
    stroker.setJoinStyle(Qt::RoundJoin);
    const QPainterPath silhouette = stroker.createStroke(fill_path).united(fill_path);
    QImage mask(w, h, QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    QImage fill(w, h, QImage::Format_ARGB32);
    fill.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPath(silhouette);
        if (shadow > 0) p.drawPath(silhouette.translated(shadow, shadow));
    }
    {
        QPainter p(&fill);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        const QRectF b = fill_path.boundingRect();
        QLinearGradient g(0, b.top(), 0, b.bottom());
        g.setColorAt(0.0, top);
        g.setColorAt(1.0, bottom);
        p.setBrush(g);
        p.drawPath(fill_path);
    }
    RgbPicture out;
    out.width = w;
    out.height = h;
    out.pixels.assign(static_cast<size_t>(w) * h, Rgb{255, 255, 255});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (qAlpha(mask.pixel(x, y)) < 128) continue;
            const QRgb f = fill.pixel(x, y);  // ARGB32, not premultiplied
            const double a = qAlpha(f) / 255.0;
            Rgb c = Mix(outline, FromQ(f), a);
            if (c == Rgb{255, 255, 255}) c.b = 254;
            out.pixels[static_cast<size_t>(y) * w + x] = c;
        }
    // The bottom-left pixel is the transparent colour: keep it white.
    out.pixels[static_cast<size_t>(h - 1) * w] = Rgb{255, 255, 255};
    return out;
}

}  // namespace

// PauseImg. Font: Liberation Serif Bold Italic.
RgbPicture MakePauseImg() {
    const QRawFont font = LoadFont("LiberationSerif-BoldItalic", 50);
    const QPainterPath path =
        FitPath(TextPath(font, QStringLiteral("Pause")), QRectF(6, 5, 149, 38), false);
    return Lettering(163, 50, path, 3.4, QColor(255, 150, 186), QColor(222, 30, 86), Rgb{70, 6, 36},
                     1.6);
}

// GmOvImg. Font: Liberation Sans Bold.
RgbPicture MakeGmOvImg() {
    const QRawFont font = LoadFont("LiberationSans-Bold", 40);
    const QPainterPath path =
        FitPath(TextPath(font, QStringLiteral("GAME OVER")), QRectF(4, 4, 185, 25), true);
    return Lettering(195, 35, path, 3.0, QColor(236, 44, 72), QColor(150, 0, 34), Rgb{60, 0, 14},
                     1.4);
}

QImage ToQImage(const IndexedPicture& p) {
    QImage img(p.width, p.height, QImage::Format_RGB32);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const Rgb c = p.palette[p.At(x, y)];
            img.setPixel(x, y, qRgb(c.r, c.g, c.b));
        }
    return img;
}

QImage ToQImage(const RgbPicture& p) {
    QImage img(p.width, p.height, QImage::Format_RGB32);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const Rgb c = p.pixels[static_cast<size_t>(y) * p.width + x];
            img.setPixel(x, y, qRgb(c.r, c.g, c.b));
        }
    return img;
}

}  // namespace assets
