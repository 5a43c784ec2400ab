// The renderer's own state: the pictures it keeps, the labels, and what waits to be
// repainted or put on screen.
#include "render/renderer.h"

namespace zonky {

Renderer::Renderer(const GameState& state, Pictures pictures)
    : state_(state), pictures_(std::move(pictures)) {
    labels_[0] = {kLevelLabelRect, &smallFont_};
    labels_[1] = {kLinesLabelRect, &largeFont_};
    labels_[2] = {kScoreLabelRect, &smallFont_};
    PrepareSprites();
}

void Renderer::Invalidate(const QRect& rect) {
    pending_.Add(rect & surface_.rect());
}

void Renderer::Flush() {
    if (pending_.Empty()) return;
    surface_.SetClip(pending_);
    FormPaint();
    surface_.ClearClip();
    for (const QRect& rect : pending_) Changed(rect);
    pending_.Clear();
}

QRect Renderer::TakeChanged() {
    const QRect changed = changed_;
    changed_ = QRect();
    return changed;
}

}  // namespace zonky
