// Runs the generator into a temporary directory and compares everything it writes with
// resources/, byte for byte, both ways.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
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
        EXPECT_TRUE(ReadFile(dir.path().toStdString() + "/" + rel) == ReadAsset(rel))
            << rel << " differs from resources/: run make-assets resources and commit";
    }
}
