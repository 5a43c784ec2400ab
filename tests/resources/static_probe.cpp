// A static library that links zonky_resources, as render/ and shell/ do.
#include <QFile>

bool ProbeResourceOpens(const char* path) {
    QFile f(QString::fromLatin1(path));
    return f.open(QIODevice::ReadOnly) && f.size() > 0;
}
