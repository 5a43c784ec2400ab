#include "records/file_io.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

namespace zonky {

FileStart ReadFileStart(const std::string& path, std::size_t limit) {
    FileStart start;
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    if (!info.exists()) return start;
    start.status = ReadStatus::Unopenable;
    if (!info.isFile()) return start;

    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return start;
    while (start.bytes.size() < limit) {
        const QByteArray chunk = file.read(static_cast<qint64>(limit - start.bytes.size()));
        if (file.error() != QFileDevice::NoError) {
            start.status = ReadStatus::ReadFailed;
            start.bytes.clear();
            return start;
        }
        if (chunk.isEmpty()) break;
        start.bytes.insert(start.bytes.end(), chunk.begin(), chunk.end());
    }
    start.status = ReadStatus::Read;
    return start;
}

FileWriteResult ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    // QSaveFile follows a symbolic link and renames its new file over the link's target:
    // a link to a device (say /dev/zero) would have that device replaced by a regular
    // file, which root is allowed to do. Only a regular file, or none, is replaced.
    const QFileInfo existing(QString::fromStdString(path));
    if (existing.exists() && !existing.isFile())
        return {WriteStatus::NotCreated, "not a regular file"};
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return {WriteStatus::NotCreated, file.errorString().toStdString()};
    const auto size = static_cast<qint64>(bytes.size());
    // Flush here: Qt 6.4's commit() drops an error of its own final flush and renames a
    // truncated file over the old one. Dropping the unfinished file is left to the
    // destructor once the writing is cancelled.
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.flush()) {
        FileWriteResult failed{WriteStatus::WriteFailed, file.errorString().toStdString()};
        file.cancelWriting();
        return failed;
    }
    if (!file.commit()) return {WriteStatus::WriteFailed, file.errorString().toStdString()};
    return {};
}

bool RemoveFile(const std::string& path) {
    return QFile::remove(QString::fromStdString(path));
}

}  // namespace zonky
