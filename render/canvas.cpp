#include "render/canvas.h"

#include <cstring>

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

// Calls write(line, y, left, right) for every row span of `to` that lies in the picture and
// the clip. Rectangles of the clip may overlap; a pixel written twice gets the same value.
template <typename WriteRow>
void Canvas::ForEachRow(const QRect& to, WriteRow write) {
    const QRect inside = to & image_.rect();
    if (inside.isEmpty()) return;
    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    auto run = [&](const QRect& area) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            write(reinterpret_cast<QRgb*>(bits + y * stride), y, area.left(), area.right());
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

namespace {

// Nearest neighbour: destination pixel i of n samples source pixel floor((i + 1/2) m / n).
int Sample(int i, int n, int m) {
    return static_cast<int>((2LL * i + 1) * m / (2LL * n));
}

}  // namespace

void Canvas::Draw(const Canvas& src, const QRect& from, QPoint at) {
    const QRect source = from & src.rect();
    const QPoint shift = at - from.topLeft();
    ForEachRow(source.translated(shift), [&](QRgb* line, int y, int left, int right) {
        const QRgb* s = src.Row(y - shift.y()) + (left - shift.x());
        std::memcpy(line + left, s, sizeof(QRgb) * static_cast<std::size_t>(right - left + 1));
    });
}

void Canvas::DrawTransparent(const Canvas& src, const QRect& from, QPoint at, QRgb key) {
    const QRect source = from & src.rect();
    const QPoint shift = at - from.topLeft();
    ForEachRow(source.translated(shift), [&](QRgb* line, int y, int left, int right) {
        const QRgb* s = src.Row(y - shift.y()) - shift.x();
        for (int x = left; x <= right; ++x)
            if (!SameRgb(s[x], key)) line[x] = s[x];
    });
}

void Canvas::Stretch(const Canvas& src, const QRect& from, const QRect& to) {
    if (from.isEmpty() || to.isEmpty()) return;
    const QRect source = src.rect();
    ForEachRow(to, [&](QRgb* line, int y, int left, int right) {
        const int sy = from.top() + Sample(y - to.top(), to.height(), from.height());
        if (sy < 0 || sy >= source.height()) return;
        const QRgb* s = src.Row(sy);
        for (int x = left; x <= right; ++x) {
            const int sx = from.left() + Sample(x - to.left(), to.width(), from.width());
            if (sx >= 0 && sx < source.width()) line[x] = s[sx];
        }
    });
}

QRgb Canvas::Pixel(int x, int y) const {
    if (!image_.rect().contains(x, y)) return 0;
    return Row(y)[x];
}

bool Canvas::Writable(int x, int y) const {
    if (!image_.rect().contains(x, y)) return false;
    if (!clipped_) return true;
    for (const QRect& c : clip_)
        if (c.contains(x, y)) return true;
    return false;
}

void Canvas::SetPixel(int x, int y, QRgb color) {
    if (Writable(x, y)) Row(y)[x] = color | 0xFF000000u;
}

void Canvas::Fill(QRgb color) {
    ForEachRow(image_.rect(), [&](QRgb* line, int, int left, int right) {
        for (int x = left; x <= right; ++x) line[x] = color | 0xFF000000u;
    });
}

}  // namespace zonky
