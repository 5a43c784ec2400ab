// The addresses behind the links of the About and welcome dialogs.
#pragma once

#include <QString>
#include <QUrl>

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

}  // namespace zonky
