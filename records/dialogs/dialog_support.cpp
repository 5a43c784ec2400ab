#include "records/dialogs/dialog_support.h"

#include <QAbstractButton>
#include <QFont>
#include <QGuiApplication>
#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace zonky {

// Integer division in C++ cuts toward zero, as the placement rule asks, also when the
// dialog is wider than its owner.
QPoint CentredIn(const QRect& area, const QSize& size) {
    return {area.x() + (area.width() - size.width()) / 2,
            area.y() + (area.height() - size.height()) / 2};
}

void InstallFontSubstitutes() {
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
}

namespace {

// Asked of the window itself: the widget's own copy of its frame is updated only when the
// window moves or resizes, and may still be the empty frame it had before the window manager
// framed it.
QMargins FrameMargins(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

QRect FrameGeometry(const QWidget& window) {
    return window.geometry().marginsAdded(FrameMargins(window));
}

// Puts the dialog's frame in the middle of the area. Before its first showing the window
// manager has not framed it yet; its frame will be like the owner's, so the owner's margins
// stand in for it, and the client area is placed inside the frame to be.
void CentreFrameIn(QWidget& dialog, const QRect& area, const QWidget* owner) {
    QMargins margins = FrameMargins(dialog);
    if (margins.isNull() && owner != nullptr && owner->isVisible()) margins = FrameMargins(*owner);
    const QSize frame = dialog.size().grownBy(margins);
    const QPoint client = CentredIn(area, frame) + QPoint(margins.left(), margins.top());
    dialog.setGeometry(QRect(client, dialog.size()));
}

const QWidget* OwnerOf(const QWidget& dialog) {
    return dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
}

}  // namespace

void CentreOverOwner(QWidget& dialog) {
    const QWidget* owner = OwnerOf(dialog);
    if (owner == nullptr || !owner->isVisible()) {
        CentreOnScreen(dialog);
        return;
    }
    CentreFrameIn(dialog, FrameGeometry(*owner), owner);
}

void CentreOnScreen(QWidget& dialog) {
    const QWidget* owner = OwnerOf(dialog);
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    CentreFrameIn(dialog, screen->availableGeometry(), owner);
}

void FocusFirstControl(QWidget& dialog) {
    for (QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain()) {
        if (w->window() != &dialog || w->focusProxy() != nullptr) continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(&dialog)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void SetStandardIcon(QAbstractButton& button, QStyle::StandardPixmap icon) {
    if (button.icon().isNull()) button.setIcon(button.style()->standardIcon(icon));
}

}  // namespace zonky
