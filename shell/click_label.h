// A label (text or picture) that reports a left click, for the links of the About and
// welcome dialogs.
#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace zonky {

class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    // A click counts when the button is released over the label, as with a push button.
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            emit clicked();
    }
};

}  // namespace zonky
