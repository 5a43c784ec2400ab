// The window's picture as a screen of any device pixel ratio shows it: each pixel repeated to
// the next whole factor, then scaled smoothly down to the ratio ("sharp bilinear"). Edges stay
// crisp, and no row or column comes out doubled where its neighbours are not, as a plain
// nearest-neighbour scale by 1.5 would do. At whole ratios every pixel is repeated exactly.
#pragma once

#include <QImage>
#include <QRect>
#include <vector>

namespace zonky {

class SharpScale {
  public:
    SharpScale() = default;
    // For a picture of `size` shown at `ratio` screen pixels per picture pixel.
    SharpScale(QSize size, double ratio);

    double ratio() const { return ratio_; }
    // The picture as shown, in screen pixels.
    const QImage& image() const { return image_; }

    // The screen pixels a change of the picture's `rect` reaches.
    QRect Reach(const QRect& rect) const;
    // The screen pixels under the picture's `rect`, and the picture's rectangle over
    // `screenRect`; both one pixel wider on every side, for a widget that sits at a fraction
    // of a screen pixel and for Qt's own rounding.
    QRect Under(const QRect& rect) const;
    QRect Over(const QRect& screenRect) const;
    // Scales `picture` (of the size given) into the screen pixels of `rect`.
    void Update(const QImage& picture, const QRect& rect);

  private:
    // A screen pixel along one axis reads the picture pixel `near` and, with the weight
    // `farWeight` out of 256, the next one.
    struct Tap {
        int near = 0;
        int far = 0;
        int farWeight = 0;
        int Reached() const { return farWeight > 0 ? far : near; }
    };
    static std::vector<Tap> Taps(int length, double ratio);
    static std::pair<int, int> Reach(const std::vector<Tap>& taps, int first, int end);

    double ratio_ = 0;
    QSize pictureSize_;
    std::vector<Tap> columns_;
    std::vector<Tap> rows_;
    QImage image_;
};

}  // namespace zonky
