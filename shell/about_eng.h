// The English About dialog: name, version, notice, the web page and the support mail.
#pragma once

#include <QDialog>

#include "ui_about_eng.h"

namespace zonky {

class TAboutFormEng : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutFormEng(QWidget* parent = nullptr);

    const Ui::TAboutFormEng& Controls() const { return ui_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Ui::TAboutFormEng ui_;
};

}  // namespace zonky
