// The welcome and good-bye dialog: name, version and two pictures that lead to the pages of
// the sister games "Zonky Cascade" and "Mosaro Tiles".
#pragma once

#include <QDialog>

#include "game/settings.h"
#include "ui_unit1.h"

namespace zonky {

class TForm2 : public QDialog {
    Q_OBJECT
  public:
    // The pictures open the page in the language the settings hold at the click.
    explicit TForm2(const Settings& settings, QWidget* parent = nullptr);

    const Ui::TForm2& Controls() const { return ui_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Ui::TForm2 ui_;
    const Settings& settings_;
};

}  // namespace zonky
