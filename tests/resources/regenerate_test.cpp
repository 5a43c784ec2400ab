// Runs the generator into a temporary directory and compares everything it writes with
// resources/, byte for byte, both ways.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <set>

#include "tests/resources/asset_files.h"

using namespace assets_test;

namespace {

std::set<std::string> FilesUnder(const QString& root, bool committed) {
    std::set<std::string> out;
    const QDir base(root);
    for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const std::string rel = base.relativeFilePath(it.next()).toStdString();
        // The build file is written by hand; ui/ belongs to the dialogs.
        if (committed && (rel == "CMakeLists.txt" || rel.rfind("ui/", 0) == 0)) continue;
        out.insert(rel);
    }
    return out;
}

// Qt's anti-aliased drawing rounds a coverage differently on different instruction sets
// (the avatars and icons come out one step apart on an AVX-512 machine), so a picture that
// differs in bytes still passes when every channel of every pixel is within one step.
bool SamePicture(const std::string& made, const std::string& committed) {
    if (ReadFile(made) == ReadFile(committed)) return true;
    if (!made.ends_with(".png")) return false;
    const QImage a = QImage(QString::fromStdString(made)).convertToFormat(QImage::Format_ARGB32);
    const QImage b =
        QImage(QString::fromStdString(committed)).convertToFormat(QImage::Format_ARGB32);
    if (a.isNull() || a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int shift : {0, 8, 16, 24}) {
                if (std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)) > 1) return false;
            }
        }
    }
    return true;
}

}  // namespace

TEST(Regenerate, TheGeneratorRebuildsResourcesByteForByte) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral(ZONKY_MAKE_ASSETS), {dir.path()});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(p.exitCode(), 0);
    const std::set<std::string> made = FilesUnder(dir.path(), false);
    const std::set<std::string> committed =
        FilesUnder(QString::fromStdString(ResourcesDir()), true);
    EXPECT_EQ(made, committed);
    for (const std::string& rel : made) {
        if (!committed.count(rel)) continue;
        EXPECT_TRUE(SamePicture(dir.path().toStdString() + "/" + rel, ResourcesDir() + "/" + rel))
            << rel << " differs from resources/: run make-assets resources and commit";
    }
}
