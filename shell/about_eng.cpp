#include "shell/about_eng.h"

#include "records/dialogs/dialog_support.h"
#include "shell/links.h"

namespace zonky {

TAboutFormEng::TAboutFormEng(QWidget* parent) : QDialog(parent, kAboutDialogFlags) {
    ui_.setupUi(this);
    ConnectAboutControls(*this, ui_);
}

void TAboutFormEng::showEvent(QShowEvent* event) {
    CentreOverOwner(*this);
    FocusFirstControl(*this);
    QDialog::showEvent(event);
}

}  // namespace zonky
