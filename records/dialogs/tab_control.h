// A tab bar over one shared panel, like a classic tab control: switching tabs changes no
// page, the owner refills the panel's controls instead.
#pragma once

#include <QWidget>

class QTabBar;

namespace zonky {

class TabControl : public QWidget {
    Q_OBJECT
  public:
    explicit TabControl(QWidget* parent = nullptr);

    QTabBar* Tabs() const { return tabs_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QTabBar* tabs_;
};

}  // namespace zonky
