// What every dialog of the program shares: fonts that exist on Linux, the placement over
// the main window and the focus at showing.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStyle>

class QAbstractButton;
class QWidget;

namespace zonky {

// The layouts name "MS Sans Serif", a Windows bitmap face that Linux lacks; Liberation Sans
// has close metrics. The other faces (Times New Roman, Courier New, Comic Sans MS) are mapped
// by fontconfig to Liberation and Comic Neue. Call once after the application object exists.
void InstallFontSubstitutes();

// The top-left corner that puts a box of this size in the middle of the area, halves cut
// toward zero.
QPoint CentredIn(const QRect& area, const QSize& size);

// Moves a dialog over the middle of its owner window, halves cut toward zero. Without a
// visible owner it goes to the middle of the screen.
void CentreOverOwner(QWidget& dialog);

// Moves a dialog to the middle of the screen its owner (or the primary screen) is on.
void CentreOnScreen(QWidget& dialog);

// Puts the keyboard focus on the dialog's first control in tab order, at each showing, as the
// old platform did: the control that had it when the dialog was last closed (a Cancel button
// that Enter would press) does not keep it.
void FocusFirstControl(QWidget& dialog);

// Gives a button the style's standard icon unless it has one. The first look-up in the icon
// theme costs milliseconds, so dialogs do this when first shown rather than when made,
// before the first window is on screen.
void SetStandardIcon(QAbstractButton& button, QStyle::StandardPixmap icon);

}  // namespace zonky
