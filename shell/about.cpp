#include "shell/about.h"

#include "records/dialogs/dialog_support.h"
#include "shell/links.h"

namespace zonky {

TAboutFormRus::TAboutFormRus(QWidget* parent) : QDialog(parent, kAboutDialogFlags) {
    ui_.setupUi(this);
    ConnectAboutControls(*this, ui_);
}

void TAboutFormRus::showEvent(QShowEvent* event) {
    CentreOverOwner(*this);
    FocusFirstControl(*this);
    QDialog::showEvent(event);
}

}  // namespace zonky
