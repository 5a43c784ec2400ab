// The Options dialog: rotation direction, music, sound and language. Every control changes
// its setting at once; Cancel and Escape put back what the settings held when it opened.
#pragma once

#include <QDialog>

#include "game/settings.h"
#include "ui_options.h"

namespace zonky {

class TOpForm : public QDialog {
    Q_OBJECT
  public:
    // The settings belong to the main window and must outlive the dialog.
    explicit TOpForm(Settings& settings, QWidget* parent = nullptr);

    const Ui::TOpForm& Controls() const { return ui_; }
    const Settings& SavedSettings() const { return savedSettings_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void ButtonCancelClick();

    Ui::TOpForm ui_;
    Settings& settings_;
    Settings savedSettings_;
};

}  // namespace zonky
