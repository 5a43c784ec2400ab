// The full repaint, the game's own drawing of the background and of removed rows, and the
// controls composed over the surface.
#include <charconv>

#include "render/renderer.h"

namespace zonky {
namespace {

// The empty next-piece box of the background, stretched over the whole preview.
constexpr QRect kPreviewBackgroundSource{228, 295, 71, 70};
constexpr QRect kWellRow{0, WellTop, kWellWidth, CellSize};

QRgb BottomLeft(const Canvas& picture) {
    return picture.Pixel(0, picture.height() - 1);
}

}  // namespace

void Renderer::DrawBackground() {
    surface_.Draw(pictures_.BkGround, QPoint(0, 0));
    Changed(surface_.rect());
}

void Renderer::RefreshSavedBackgrounds() {
    WellRowStrip.Draw(pictures_.BkGround, kWellRow, QPoint(0, 0));
    PreviewBackground.Stretch(pictures_.BkGround, kPreviewBackgroundSource,
                              PreviewBackground.rect());
}

void Renderer::ShiftWellPictureDown(int removedRow) {
    // The picture of rows 1..removedRow-1 moves down one row; row 1 gets an empty row.
    const int height = CellSize * (removedRow - 1);
    if (height > 0) ShiftBitmap.Draw(surface_, QRect(0, WellTop, kWellWidth, height), QPoint(0, 0));
    surface_.Draw(WellRowStrip, QPoint(0, WellTop));
    if (height > 0)
        surface_.DrawTransparent(ShiftBitmap, QRect(0, 0, kWellWidth, height),
                                 QPoint(0, WellTop + CellSize), CellTransparentColor);
    Changed(QRect(0, WellTop, kWellWidth, height + CellSize));
}

void Renderer::RepaintEmptiedCell(int row, int col) {
    surface_.Draw(WellRowStrip, QRect(0, 0, CellSize, CellSize), CellOrigin(row, col));
    Changed(CellRect(row, col));
}

void Renderer::FormPaint() {
    const GameState& s = state_;
    surface_.Draw(pictures_.BkGround, QPoint(0, 0));
    DrawWellCells();
    RebuildPieceBoxSave();
    if (s.NextShown) DrawPreview(s.NextColor);
    // The rebuilt box took the side panel from the background; where it covers the preview,
    // take what is on screen instead, or the next move would wipe part of the preview.
    const QRect box = PieceBoxRect(s.PieceCol, s.PieceRow);
    const QRect overlap = box & kPreviewRect;
    if (!overlap.isEmpty()) PieceBoxSave.Draw(surface_, overlap, overlap.topLeft() - box.topLeft());
    // A piece that never entered (a game paused before its first spawn) is not drawn.
    if (!s.NeedPiece && (s.Running || s.Paused))
        DrawPiece(s.CurPiece, s.PieceCol, s.PieceRow, s.CurColor);
}

Renderer::Label& Renderer::LabelFor(Counter counter) {
    switch (counter) {
        case Counter::Level:
            return labels_[0];
        case Counter::Lines:
            return labels_[1];
        case Counter::Score:
            break;
    }
    return labels_[2];
}

void Renderer::ShowCounter(Counter counter, std::int64_t value) {
    Label& label = LabelFor(counter);
    const auto [end, error] =
        std::to_chars(label.text.data(), label.text.data() + label.text.size(), value);
    label.length = error == std::errc() ? static_cast<int>(end - label.text.data()) : 0;
    // A new text repaints the label even when the number is the same.
    Invalidate(label.box);
}

void Renderer::ShowPauseImage(bool visible) {
    if (visible == pauseVisible_) return;
    pauseVisible_ = visible;
    Invalidate(QRect(kPauseImgAt, pictures_.PauseImg.rect().size()));
}

void Renderer::ShowGameOverImage(bool visible) {
    if (visible == gameOverVisible_) return;
    gameOverVisible_ = visible;
    Invalidate(QRect(kGmOvImgAt, pictures_.GmOvImg.rect().size()));
}

const Canvas& Renderer::Compose() {
    screen_.Draw(surface_, QPoint(0, 0));
    if (pauseVisible_)
        screen_.DrawTransparent(pictures_.PauseImg, kPauseImgAt, BottomLeft(pictures_.PauseImg));
    for (const Label& label : labels_)
        label.font->Draw(screen_, label.box, label.text.data(), label.length);
    if (gameOverVisible_)
        screen_.DrawTransparent(pictures_.GmOvImg, kGmOvImgAt, BottomLeft(pictures_.GmOvImg));
    return screen_;
}

}  // namespace zonky
