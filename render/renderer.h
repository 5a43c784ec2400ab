// The window as a picture: the surface the game draws on, the off-screen pictures that put
// back what lay under a moving piece, the full repaint, and the controls (counter labels and
// overlays) composed over the surface for the screen.
#pragma once

#include <QImage>
#include <array>
#include <cstdint>

#include "game/game_state.h"
#include "game/ports.h"
#include "render/canvas.h"
#include "render/geometry.h"

namespace zonky {

// The pictures of the window's layout.
struct Pictures {
    Canvas BkGround;
    std::array<Canvas, kColorCount> strips;  // Image1 .. Image7
    Canvas Erase;
    Canvas PauseImg;
    Canvas GmOvImg;
};

// Loads the pictures from the program's resources.
Pictures LoadPictures();

// Digits drawn in one label font, made once so that a changing counter costs no text layout.
class LabelFont {
  public:
    explicit LabelFont(int pixelSize);
    // Draws the digits of `text` centred in `box`, at its top like the layout's labels.
    void Draw(Canvas& target, const QRect& box, const char* text, int length) const;

  private:
    std::array<QImage, 10> digits_;  // premultiplied, blue on transparent
    int advance_ = 0;
};

class Renderer {
  public:
    Renderer(const GameState& state, Pictures pictures);
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Drawing the game asks for as it plays.
    void DrawBackground();
    void RefreshSavedBackgrounds();
    void DrawPiece(const PieceGrid& grid, int col, int row, int color);
    void SavePieceBox(int col, int row);
    void RestorePieceBox(int col, int row);
    void DrawPreview(int color);
    void ShiftWellPictureDown(int removedRow);
    void RepaintEmptiedCell(int row, int col);

    // The full repaint and its parts.
    void FormPaint();
    void DrawWellCells();
    void RebuildPieceBoxSave();

    // Controls over the surface.
    void ShowCounter(Counter counter, std::int64_t value);
    void ShowPauseImage(bool visible);
    void ShowGameOverImage(bool visible);

    // Invalidation: the next Flush repaints the pending rectangles with FormPaint clipped
    // to them, as a platform does before it puts the window on screen.
    void Invalidate(const QRect& rect);
    void InvalidateAll() { Invalidate(QRect(0, 0, kWindowWidth, kWindowHeight)); }
    void Flush();
    const RectSet& Pending() const { return pending_; }

    // The window as a player sees it: the surface with the visible controls over it.
    const Canvas& Compose();

    // Where the surface changed since the last call, for the window to update.
    QRect TakeChanged();

    const Canvas& surface() const { return surface_; }

  private:
    struct Label {
        QRect box;
        const LabelFont* font;
        std::array<char, 24> text{};
        int length = 0;
    };

    void PrepareSprites();
    Label& LabelFor(Counter counter);
    void Changed(const QRect& rect) { changed_ = changed_.united(rect & surface_.rect()); }
    void DrawCell(Canvas& target, int code, int color, QPoint at, bool wholeFrame);
    void DrawCellLayers(Canvas& target, const CellLayers& layers, QPoint at);

    const GameState& state_;
    Pictures pictures_;
    Canvas surface_{kWindowWidth, kWindowHeight};
    Canvas screen_{kWindowWidth, kWindowHeight};

    // The off-screen pictures, made once. The established ones keep their names; the
    // renderer's own members end in an underscore.
    std::array<const Canvas*, kColorCount> SpriteStrips{};
    // Every strip with its frames' rows 1..17 stretched to 18 rows, made once: the preview
    // and the repaint draw from these.
    std::array<Canvas, kColorCount> stretchedStrips_;
    QRgb CellTransparentColor = 0;
    QRgb eraseTransparentColor_ = 0;
    Canvas PieceBoxSave{BoxSize, BoxSize};
    Canvas WellRowStrip{kWellWidth, CellSize};
    Canvas PreviewBackground{BoxSize, BoxSize};
    Canvas ShiftBitmap{kWellWidth, CellSize*(kLastRow - 1)};

    LabelFont smallFont_{14};
    LabelFont largeFont_{15};
    std::array<Label, 3> labels_;
    bool pauseVisible_ = false;
    bool gameOverVisible_ = false;

    RectSet pending_;
    QRect changed_;
};

// Forwards the game's drawing, counter and overlay requests to a renderer; the rest of the
// host's duties are left to the window or tool that derives from it.
class DrawingHost : public NullHost {
  public:
    explicit DrawingHost(Renderer& renderer) : renderer_(renderer) {}
    void DrawBackground() override { renderer_.DrawBackground(); }
    void RefreshSavedBackgrounds() override { renderer_.RefreshSavedBackgrounds(); }
    void DrawPiece(const PieceGrid& grid, int col, int row, int color) override {
        renderer_.DrawPiece(grid, col, row, color);
    }
    void SavePieceBox(int col, int row) override { renderer_.SavePieceBox(col, row); }
    void RestorePieceBox(int col, int row) override { renderer_.RestorePieceBox(col, row); }
    void DrawPreview(int color) override { renderer_.DrawPreview(color); }
    void ShiftWellPictureDown(int row) override { renderer_.ShiftWellPictureDown(row); }
    void RepaintEmptiedCell(int row, int col) override { renderer_.RepaintEmptiedCell(row, col); }
    void ShowCounter(Counter counter, std::int64_t value) override {
        renderer_.ShowCounter(counter, value);
    }
    void ShowPauseImage(bool visible) override { renderer_.ShowPauseImage(visible); }
    void ShowGameOverImage(bool visible) override { renderer_.ShowGameOverImage(visible); }

  protected:
    Renderer& renderer_;
};

}  // namespace zonky
