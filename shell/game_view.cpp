#include "shell/game_view.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace zonky {

GameView::GameView(Renderer& renderer, KeyHandler onKey, OtherKeyHandler onOtherKey,
                   QWidget* parent)
    : QWidget(parent),
      renderer_(renderer),
      onKey_(std::move(onKey)),
      onOtherKey_(std::move(onOtherKey)) {
    setFixedSize(kWindowWidth, kWindowHeight);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int GameView::VirtualKey(int qtKey) {
    struct KeyCodes {
        int qt;
        int virtualKey;
    };
    static constexpr KeyCodes kKeys[] = {{Qt::Key_Escape, kKeyEscape}, {Qt::Key_Space, kKeySpace},
                                         {Qt::Key_Left, kKeyLeft},     {Qt::Key_Up, kKeyUp},
                                         {Qt::Key_Right, kKeyRight},   {Qt::Key_Down, kKeyDown}};
    for (const KeyCodes& key : kKeys)
        if (key.qt == qtKey) return key.virtualKey;
    return 0;
}

SharpScale& GameView::Scaled() {
    const qreal ratio = devicePixelRatioF();
    if (scaled_.ratio() != ratio) scaled_ = SharpScale(size(), ratio);
    return scaled_;
}

void GameView::Sync() {
    QRect dirty = renderer_.TakeChanged();
    for (const QRect& rect : renderer_.Pending()) dirty |= rect;
    // Whatever the ratio, update what the change reaches on screen, not the picture's own
    // rectangle: at 1.5 a picture pixel spreads over its neighbours' screen pixels.
    if (!dirty.isEmpty()) update(Scaled().Over(Scaled().Reach(dirty)));
}

void GameView::paintEvent(QPaintEvent* event) {
    renderer_.Flush();
    renderer_.TakeChanged();
    const QImage& picture = renderer_.Compose().image();
    SharpScale& scaled = Scaled();
    QPainter painter(this);
    painter.scale(1 / scaled.ratio(), 1 / scaled.ratio());  // one unit per screen pixel
    for (const QRect& rect : event->region()) {
        const QRect screenRect = scaled.Under(rect);
        scaled.Update(picture, screenRect);
        painter.drawImage(screenRect.topLeft(), scaled.image(), screenRect);
    }
}

void GameView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers held = event->modifiers();
    const KeyModifiers modifiers{held.testFlag(Qt::ShiftModifier),
                                 held.testFlag(Qt::ControlModifier),
                                 held.testFlag(Qt::AltModifier)};
    const int key = VirtualKey(event->key());
    if (key == 0) {
        if (!onOtherKey_ || !onOtherKey_(*event)) QWidget::keyPressEvent(event);
        return;
    }
    onKey_(key, modifiers);
}

}  // namespace zonky
