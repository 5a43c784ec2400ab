// The falling piece, the saved box under it, the settled well and the next-piece preview.
#include "game/pieces.h"
#include "render/renderer.h"

namespace zonky {

void Renderer::DrawPiece(const PieceGrid& grid, int col, int row, int color) {
    EveryCell(grid, col, row, [&](std::int32_t v, int r, int c) {
        if (r < kFirstVisibleRow) return true;  // hidden rows are never drawn
        DrawCell(surface_, v, color, CellOrigin(r, c), true);
        Changed(CellRect(r, c));
        return true;
    });
}

void Renderer::SavePieceBox(int col, int row) {
    PieceBoxSave.Draw(surface_, PieceBoxRect(col, row), QPoint(0, 0));
}

void Renderer::RestorePieceBox(int col, int row) {
    const QRect box = PieceBoxRect(col, row);
    surface_.Draw(PieceBoxSave, box.topLeft());
    Changed(box);
}

void Renderer::RebuildPieceBoxSave() {
    const int col = state_.PieceCol;
    const int row = state_.PieceRow;
    PieceBoxSave.Draw(pictures_.BkGround, PieceBoxRect(col, row), QPoint(0, 0));
    for (int r = row; r <= row + 3; ++r)
        for (int c = col; c <= col + 3; ++c)
            if (r >= kFirstVisibleRow && r <= kLastRow && c >= kFirstColumn && c <= kLastColumn)
                DrawCellLayers(PieceBoxSave, state_.WellLayers.At(r, c),
                               QPoint(CellSize * (c - col), CellSize * (r - row)));
}

void Renderer::DrawWellCells() {
    for (int r = kFirstVisibleRow; r <= kLastRow; ++r)
        for (int c = kFirstColumn; c <= kLastColumn; ++c) {
            const CellLayers& layers = state_.WellLayers.At(r, c);
            DrawCellLayers(surface_, layers, CellOrigin(r, c));
            if (layers.count > 0) Changed(CellRect(r, c));
        }
}

// The parts of a settled cell in the order they were fixed, each in its own colour, from the
// frame without its top row stretched to 18 rows: the repaint and the rebuilt box under the
// piece show the same pixels.
void Renderer::DrawCellLayers(Canvas& target, const CellLayers& layers, QPoint at) {
    for (int k = 0; k < layers.count && k < kMaxLayers; ++k)
        DrawCell(target, layers.slot[k].shape, layers.slot[k].color, at, false);
}

void Renderer::DrawPreview(int color) {
    if (!state_.Running && state_.Score < 1 && !state_.Paused) return;
    const PieceExtent extent = MeasurePiece(state_.NextPiece);
    const int x0 = PreviewLeft + (BoxSize - CellSize * extent.width) / 2;
    const int y0 = PreviewTop + (BoxSize - CellSize * extent.height) / 2;
    surface_.Draw(PreviewBackground, QPoint(PreviewLeft, PreviewTop));
    Changed(kPreviewRect);
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j) {
            const std::int32_t v = state_.NextPiece.at(i, j);
            if (v == kEmpty) continue;
            DrawCell(surface_, v, color, QPoint(x0 + CellSize * (j - 1), y0 + CellSize * (i - 1)),
                     false);
        }
}

}  // namespace zonky
