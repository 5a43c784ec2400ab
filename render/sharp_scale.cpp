#include "render/sharp_scale.h"

#include <algorithm>
#include <cmath>

namespace zonky {
namespace {

// Tolerance for ratios such as 1.25 that arrive as 1.2499999.
constexpr double kRatioSlack = 1e-6;
constexpr int kWeightOne = 256;

// `rect` scaled by `factor`, grown to whole pixels and by one more on every side.
QRect ScaledOutward(const QRect& rect, double factor) {
    const auto floor = [factor](int v) { return static_cast<int>(std::floor(v * factor)); };
    const auto ceil = [factor](int v) { return static_cast<int>(std::ceil(v * factor)); };
    return QRect(QPoint(floor(rect.left()) - 1, floor(rect.top()) - 1),
                 QPoint(ceil(rect.right() + 1), ceil(rect.bottom() + 1)));
}

// a and b mixed, b with the weight w out of 256, every channel at once.
QRgb Mix(QRgb a, QRgb b, int w) {
    const auto keep = static_cast<quint32>(kWeightOne - w);
    const auto take = static_cast<quint32>(w);
    const quint32 redBlue =
        (((a & 0x00FF00FFu) * keep + (b & 0x00FF00FFu) * take) >> 8) & 0x00FF00FFu;
    const quint32 alphaGreen =
        (((a >> 8) & 0x00FF00FFu) * keep + ((b >> 8) & 0x00FF00FFu) * take) & 0xFF00FF00u;
    return redBlue | alphaGreen;
}

}  // namespace

SharpScale::SharpScale(QSize size, double ratio)
    : ratio_(ratio),
      pictureSize_(size),
      columns_(Taps(size.width(), ratio)),
      rows_(Taps(size.height(), ratio)),
      image_(static_cast<int>(columns_.size()), static_cast<int>(rows_.size()),
             QImage::Format_RGB32) {
    image_.fill(Qt::black);
}

std::vector<SharpScale::Tap> SharpScale::Taps(int length, double ratio) {
    // Picture pixel s is repeated `whole` times; screen pixel x samples that larger picture
    // bilinearly at its own centre.
    const int whole = std::max(1, static_cast<int>(std::ceil(ratio - kRatioSlack)));
    const int wholeLength = length * whole;
    const int screenLength = static_cast<int>(std::ceil(length * ratio - kRatioSlack));
    std::vector<Tap> taps(static_cast<std::size_t>(std::max(0, screenLength)));
    for (int x = 0; x < screenLength; ++x) {
        const double at = std::max(0.0, (x + 0.5) * whole / ratio - 0.5);
        const int first = std::min(static_cast<int>(at), wholeLength - 1);
        const int second = std::min(first + 1, wholeLength - 1);
        Tap& tap = taps[static_cast<std::size_t>(x)];
        tap.near = first / whole;
        tap.far = second / whole;
        if (tap.far != tap.near)
            tap.farWeight = static_cast<int>(std::lround((at - first) * kWeightOne));
    }
    return taps;
}

std::pair<int, int> SharpScale::Reach(const std::vector<Tap>& taps, int first, int end) {
    // Both ends of a tap only grow along the axis.
    const auto from = std::partition_point(taps.begin(), taps.end(),
                                           [first](const Tap& t) { return t.Reached() < first; });
    const auto to =
        std::partition_point(from, taps.end(), [end](const Tap& t) { return t.near < end; });
    return {static_cast<int>(from - taps.begin()), static_cast<int>(to - taps.begin())};
}

QRect SharpScale::Reach(const QRect& rect) const {
    if (rect.isEmpty()) return {};
    const auto [left, right] = Reach(columns_, rect.left(), rect.right() + 1);
    const auto [top, bottom] = Reach(rows_, rect.top(), rect.bottom() + 1);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QRect SharpScale::Under(const QRect& rect) const {
    return ScaledOutward(rect, ratio_) & image_.rect();
}

QRect SharpScale::Over(const QRect& screenRect) const {
    return ScaledOutward(screenRect, 1 / ratio_) & QRect(QPoint(0, 0), pictureSize_);
}

void SharpScale::Update(const QImage& picture, const QRect& rect) {
    if (picture.size() != pictureSize_ || picture.depth() != 32) return;
    const QRect area = rect & image_.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const Tap& row = rows_[static_cast<std::size_t>(y)];
        const auto* nearRow = reinterpret_cast<const QRgb*>(picture.constScanLine(row.near));
        const auto* farRow = reinterpret_cast<const QRgb*>(picture.constScanLine(row.far));
        auto* out = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const Tap& column = columns_[static_cast<std::size_t>(x)];
            // Most screen pixels lie inside one picture pixel: a plain copy.
            const auto sample = [&column](const QRgb* line) {
                return column.farWeight == 0
                           ? line[column.near]
                           : Mix(line[column.near], line[column.far], column.farWeight);
            };
            QRgb color = sample(nearRow);
            if (row.farWeight > 0) color = Mix(color, sample(farRow), row.farWeight);
            out[x] = color;
        }
    }
}

}  // namespace zonky
