// The Russian About dialog: name, version, notice, the web page and the support mail.
#pragma once

#include <QDialog>

#include "ui_about.h"

namespace zonky {

class TAboutFormRus : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutFormRus(QWidget* parent = nullptr);

    const Ui::TAboutFormRus& Controls() const { return ui_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Ui::TAboutFormRus ui_;
};

}  // namespace zonky
