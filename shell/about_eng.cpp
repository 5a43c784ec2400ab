#include "shell/about_eng.h"

#include "records/dialogs/dialog_support.h"
#include "shell/links.h"

namespace zonky {

TAboutFormEng::TAboutFormEng(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    ui_.setupUi(this);
    // The links open what they show, in the language the dialog was last given.
    connect(ui_.Label7, &ClickLabel::clicked, this,
            [this] { OpenLink(WebLinkUrl(ui_.Label7->text())); });
    connect(ui_.Label6, &ClickLabel::clicked, this,
            [this] { OpenLink(MailLinkUrl(ui_.Label6->text())); });
    connect(ui_.Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutFormEng::showEvent(QShowEvent* event) {
    CentreOverOwner(*this);
    QDialog::showEvent(event);
}

}  // namespace zonky
