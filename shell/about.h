// The About dialogs, Russian and English: name, version, notice, the web page and the support
// mail. One dialog in two layouts.
#pragma once

#include <QDialog>

#include "records/dialogs/dialog_support.h"
#include "shell/links.h"
#include "ui_about.h"
#include "ui_about_eng.h"

namespace zonky {

// An About dialog over its layout, shown centred over the main window.
template <typename Layout>
class AboutDialog : public QDialog {
  public:
    explicit AboutDialog(QWidget* parent) : QDialog(parent, kAboutDialogFlags) {
        ui_.setupUi(this);
        ConnectAboutControls(*this, ui_);
    }

    const Layout& Controls() const { return ui_; }

  protected:
    void showEvent(QShowEvent* event) override {
        CentreOverOwner(*this);
        FocusFirstControl(*this);
        QDialog::showEvent(event);
    }

  private:
    Layout ui_;
};

class TAboutFormRus : public AboutDialog<Ui::TAboutFormRus> {
    Q_OBJECT
  public:
    explicit TAboutFormRus(QWidget* parent = nullptr) : AboutDialog(parent) {}
};

class TAboutFormEng : public AboutDialog<Ui::TAboutFormEng> {
    Q_OBJECT
  public:
    explicit TAboutFormEng(QWidget* parent = nullptr) : AboutDialog(parent) {}
};

}  // namespace zonky
