#include "tools/replay/replay_drawing.h"

#include <QString>

namespace zonky {

// The window has just been shown: its first picture is a full repaint.
RendererDrawing::RendererDrawing(const GameState& state) : renderer_(state, LoadPictures()) {
    renderer_.InvalidateAll();
}

void RendererDrawing::Paint(const std::optional<std::array<int, 4>>& rect) {
    if (rect)
        renderer_.Invalidate(QRect((*rect)[0], (*rect)[1], (*rect)[2], (*rect)[3]));
    else
        renderer_.InvalidateAll();
    renderer_.Flush();
}

// What is pending is painted before the window reaches the screen, as the window does.
bool RendererDrawing::WritePng(const std::string& path) {
    renderer_.Flush();
    return renderer_.Compose().image().save(QString::fromStdString(path), "PNG");
}

std::array<int, 3> RendererDrawing::Pixel(int x, int y) {
    renderer_.Flush();
    const QRgb p = renderer_.Compose().Pixel(x, y);
    return {qRed(p), qGreen(p), qBlue(p)};
}

}  // namespace zonky
