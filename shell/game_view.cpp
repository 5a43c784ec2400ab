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

int GameView::ScaleFor(qreal devicePixelRatio) {
    return std::max(1, static_cast<int>(std::floor(devicePixelRatio + 1e-6)));
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

void GameView::Sync() {
    QRect dirty = renderer_.TakeChanged();
    for (const QRect& rect : renderer_.Pending()) dirty |= rect;
    if (!dirty.isEmpty()) update(dirty);
}

void GameView::paintEvent(QPaintEvent* event) {
    renderer_.Flush();
    renderer_.TakeChanged();
    const QImage& screen = renderer_.Compose().image();
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const int scale = ScaleFor(ratio);
    if (std::abs(ratio - scale) < 1e-6) {
        // Whole ratios: Qt repeats each pixel exactly.
        painter.drawImage(event->rect(), screen, event->rect());
        return;
    }
    // Fractional ratios: draw at the whole factor below, centred, in device pixels.
    painter.fillRect(rect(), Qt::black);
    painter.scale(1 / ratio, 1 / ratio);
    const QSize device(qRound(width() * ratio), qRound(height() * ratio));
    const QSize picture = screen.size() * scale;
    const QPoint origin((device.width() - picture.width()) / 2,
                        (device.height() - picture.height()) / 2);
    painter.drawImage(QRect(origin, picture), screen);
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
