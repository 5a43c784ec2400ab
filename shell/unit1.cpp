#include "shell/unit1.h"

#include "records/dialogs/dialog_support.h"
#include "shell/links.h"
#include "shell/mosconst.h"

namespace zonky {

TForm2::TForm2(const Settings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings) {
    ui_.setupUi(this);
    connect(ui_.Image3, &ClickLabel::clicked, this,
            [this] { OpenLink(WebLinkUrl(UiText(UiId::Game1Page, settings_.UiLanguage))); });
    connect(ui_.Image1, &ClickLabel::clicked, this,
            [this] { OpenLink(WebLinkUrl(UiText(UiId::Game2Page, settings_.UiLanguage))); });
    connect(ui_.Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TForm2::showEvent(QShowEvent* event) {
    // Shown before the main window at start-up and after it at the end: always the screen.
    CentreOnScreen(*this);
    FocusFirstControl(*this);
    QDialog::showEvent(event);
}

}  // namespace zonky
