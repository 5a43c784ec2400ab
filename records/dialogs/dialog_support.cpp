#include "records/dialogs/dialog_support.h"

#include <QAbstractButton>
#include <QFont>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

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

void CentreOverOwner(QWidget& dialog) {
    const QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    if (owner == nullptr || !owner->isVisible()) {
        CentreOnScreen(dialog);
        return;
    }
    dialog.move(CentredIn(owner->frameGeometry(), dialog.frameGeometry().size()));
}

void CentreOnScreen(QWidget& dialog) {
    const QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    dialog.move(CentredIn(screen->availableGeometry(), dialog.frameGeometry().size()));
}

void SetStandardIcon(QAbstractButton& button, QStyle::StandardPixmap icon) {
    if (button.icon().isNull()) button.setIcon(button.style()->standardIcon(icon));
}

}  // namespace zonky
