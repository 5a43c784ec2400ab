#include "shell/links.h"

#include <QDesktopServices>

namespace zonky {

QUrl WebLinkUrl(const QString& address) {
    QString text = address + QLatin1String(kLinkSuffix);
    if (!address.contains(QLatin1String("://"))) text.prepend(QLatin1String("http://"));
    return QUrl(text, QUrl::StrictMode);
}

QUrl MailLinkUrl(const QString& address) {
    return QUrl(QLatin1String("mailto:") + address, QUrl::StrictMode);
}

void OpenLink(const QUrl& url) {
    if (url.isValid()) QDesktopServices::openUrl(url);
}

}  // namespace zonky
