// A 32-bit picture with the few operations the drawing uses. Every copy is clipped to both
// pictures and, on the destination, to the clip rectangles, so boxes that reach past an edge
// read and write nothing outside.
#pragma once

#include <QImage>
#include <QRect>
#include <array>

namespace zonky {

// A small set of rectangles, kept without heap allocation: when it is full the last entry
// grows to cover the new one.
class RectSet {
  public:
    static constexpr int kCapacity = 16;
    void Add(const QRect& rect);
    void Clear() { count_ = 0; }
    bool Empty() const { return count_ == 0; }
    const QRect* begin() const { return rects_.data(); }
    const QRect* end() const { return rects_.data() + count_; }

  private:
    std::array<QRect, kCapacity> rects_{};
    int count_ = 0;
};

class Canvas {
  public:
    Canvas() = default;
    Canvas(int width, int height);
    // Takes any picture and holds it as 32-bit RGB.
    explicit Canvas(const QImage& picture);

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    QRect rect() const { return image_.rect(); }
    const QImage& image() const { return image_; }

    // Restricts every later write to these rectangles; an empty set lifts the restriction.
    void SetClip(const RectSet& clip);
    void ClearClip() { clipped_ = false; }

    // Copies src's rectangle 1:1 to `at`.
    void Draw(const Canvas& src, const QRect& from, QPoint at);
    void Draw(const Canvas& src, QPoint at) { Draw(src, src.rect(), at); }
    // The same, leaving out the pixels whose RGB equals key.
    void DrawTransparent(const Canvas& src, const QRect& from, QPoint at, QRgb key);
    void DrawTransparent(const Canvas& src, QPoint at, QRgb key) {
        DrawTransparent(src, src.rect(), at, key);
    }
    // Stretches src's rectangle over `to` by nearest neighbour.
    void Stretch(const Canvas& src, const QRect& from, const QRect& to);

    // Row y's pixels, y inside the picture. Writes through it ignore the clip.
    QRgb* Row(int y) { return reinterpret_cast<QRgb*>(image_.scanLine(y)); }
    const QRgb* Row(int y) const { return reinterpret_cast<const QRgb*>(image_.constScanLine(y)); }

    QRgb Pixel(int x, int y) const;  // 0 outside the picture
    void SetPixel(int x, int y, QRgb color);
    void Fill(QRgb color);

  private:
    template <typename WriteRow>
    void ForEachRow(const QRect& to, WriteRow write);
    bool Writable(int x, int y) const;

    QImage image_;
    RectSet clip_;
    bool clipped_ = false;
};

inline bool SameRgb(QRgb a, QRgb b) {
    return ((a ^ b) & 0x00FFFFFFu) == 0;
}

}  // namespace zonky
