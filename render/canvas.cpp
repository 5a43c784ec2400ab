#include "render/canvas.h"

namespace zonky {

void RectSet::Add(const QRect& rect) {
    if (rect.isEmpty()) return;
    for (int k = 0; k < count_; ++k)
        if (rects_[k].contains(rect)) return;
    if (count_ < kCapacity) {
        rects_[count_++] = rect;
        return;
    }
    rects_[kCapacity - 1] = rects_[kCapacity - 1].united(rect);
}

Canvas::Canvas(int width, int height) : image_(width, height, QImage::Format_RGB32) {
    image_.fill(0u);
}

Canvas::Canvas(const QImage& picture) : image_(picture.convertToFormat(QImage::Format_RGB32)) {}

void Canvas::SetClip(const RectSet& clip) {
    clip_ = clip;
    clipped_ = !clip.Empty();
}

// Calls write(x, y) for every destination pixel of `to` that lies in the picture and the clip.
// Rectangles of the clip may overlap; a pixel written twice gets the same value.
template <typename Write>
void Canvas::ForEachTarget(const QRect& to, Write write) {
    const QRect inside = to & image_.rect();
    if (inside.isEmpty()) return;
    auto run = [&](const QRect& area) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
            for (int x = area.left(); x <= area.right(); ++x) write(line, x, y);
        }
    };
    if (!clipped_) {
        run(inside);
        return;
    }
    for (const QRect& c : clip_) {
        const QRect area = inside & c;
        if (!area.isEmpty()) run(area);
    }
}

void Canvas::Draw(const Canvas& src, const QRect& from, QPoint at) {
    const QRect source = from & src.rect();
    const QPoint shift = at - from.topLeft();
    const QImage& in = src.image_;
    ForEachTarget(source.translated(shift), [&](QRgb* line, int x, int y) {
        line[x] = reinterpret_cast<const QRgb*>(in.constScanLine(y - shift.y()))[x - shift.x()];
    });
}

void Canvas::DrawTransparent(const Canvas& src, const QRect& from, QPoint at, QRgb key) {
    const QRect source = from & src.rect();
    const QPoint shift = at - from.topLeft();
    const QImage& in = src.image_;
    ForEachTarget(source.translated(shift), [&](QRgb* line, int x, int y) {
        const QRgb p =
            reinterpret_cast<const QRgb*>(in.constScanLine(y - shift.y()))[x - shift.x()];
        if (!SameRgb(p, key)) line[x] = p;
    });
}

namespace {

// Nearest neighbour: destination pixel i of n samples source pixel floor((i + 1/2) m / n).
int Sample(int i, int n, int m) {
    return static_cast<int>((2LL * i + 1) * m / (2LL * n));
}

}  // namespace

void Canvas::Stretch(const Canvas& src, const QRect& from, const QRect& to) {
    StretchCopy(src, from, to, false, 0);
}

void Canvas::StretchTransparent(const Canvas& src, const QRect& from, const QRect& to, QRgb key) {
    StretchCopy(src, from, to, true, key);
}

void Canvas::StretchCopy(const Canvas& src, const QRect& from, const QRect& to, bool keyed,
                         QRgb key) {
    if (from.isEmpty() || to.isEmpty()) return;
    const QImage& in = src.image_;
    const QRect source = src.rect();
    ForEachTarget(to, [&](QRgb* line, int x, int y) {
        const int sx = from.left() + Sample(x - to.left(), to.width(), from.width());
        const int sy = from.top() + Sample(y - to.top(), to.height(), from.height());
        if (!source.contains(sx, sy)) return;
        const QRgb p = reinterpret_cast<const QRgb*>(in.constScanLine(sy))[sx];
        if (!keyed || !SameRgb(p, key)) line[x] = p;
    });
}

QRgb Canvas::Pixel(int x, int y) const {
    if (!image_.rect().contains(x, y)) return 0;
    return reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x];
}

bool Canvas::Writable(int x, int y) const {
    if (!image_.rect().contains(x, y)) return false;
    if (!clipped_) return true;
    for (const QRect& c : clip_)
        if (c.contains(x, y)) return true;
    return false;
}

void Canvas::SetPixel(int x, int y, QRgb color) {
    if (Writable(x, y)) reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = color | 0xFF000000u;
}

void Canvas::Fill(QRgb color) {
    ForEachTarget(image_.rect(), [&](QRgb* line, int x, int) { line[x] = color | 0xFF000000u; });
}

}  // namespace zonky
