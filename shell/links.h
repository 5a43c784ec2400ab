// The addresses behind the links of the About and welcome dialogs.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <QString>
#include <QUrl>

#include "shell/click_label.h"

namespace zonky {

// Web links carry this suffix so the page can tell where the visitor came from.
inline constexpr char kLinkSuffix[] = "/?from_ZonkyMos";

// The address of a web link: the text with the suffix, "http://" put in front when the
// text names no scheme.
QUrl WebLinkUrl(const QString& address);
// The address of a mail link: "mailto:" and the address.
QUrl MailLinkUrl(const QString& address);

// Hands the address to the desktop's default handler; a failure is not reported.
void OpenLink(const QUrl& url);

// A fixed dialog with a close box and no help or size boxes, as the About dialogs are.
inline constexpr Qt::WindowFlags kAboutDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint;

// The About dialogs' controls, the same in both languages: the links open what they show,
// in the language the dialog was last given; the button closes the dialog.
template <typename Controls>
void ConnectAboutControls(QDialog& dialog, const Controls& ui) {
    QObject::connect(ui.Label7, &ClickLabel::clicked, &dialog,
                     [label = ui.Label7] { OpenLink(WebLinkUrl(label->text())); });
    QObject::connect(ui.Label6, &ClickLabel::clicked, &dialog,
                     [label = ui.Label6] { OpenLink(MailLinkUrl(label->text())); });
    QObject::connect(ui.Button1, &QPushButton::clicked, &dialog, &QDialog::accept);
}

}  // namespace zonky
