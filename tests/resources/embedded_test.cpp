// An executable linking zonky_resources opens every asset through QFile, byte for byte the
// committed file, uncompressed; the sounds answer under their upper-case names.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QResource>

#include "tests/resources/asset_files.h"

using namespace assets_test;

namespace {

struct Entry {
    QString path, alias;
};

std::vector<Entry> QrcEntries() {
    const Bytes qrc = ReadAsset("assets.qrc");
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(qrc.data()),
                                           static_cast<qsizetype>(qrc.size()));
    std::vector<Entry> out;
    static const QRegularExpression file(QStringLiteral("<file([^>]*)>([^<]+)</file>"));
    static const QRegularExpression alias(QStringLiteral("alias=\"([^\"]+)\""));
    for (auto it = file.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const auto a = alias.match(m.captured(1));
        out.push_back({m.captured(2), a.hasMatch() ? a.captured(1) : m.captured(2)});
    }
    return out;
}

}  // namespace

TEST(Embedded, EveryListedFileOpensWithQFileAndMatchesTheCommittedBytes) {
    const std::vector<Entry> entries = QrcEntries();
    EXPECT_EQ(entries.size(), 11u + 25u + 2u + 8u + 2u + 4u);
    for (const Entry& e : entries) {
        QFile f(QStringLiteral(":/") + e.alias);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << e.alias.toStdString();
        const QByteArray got = f.readAll();
        const Bytes want = ReadAsset(e.path.toStdString());
        EXPECT_EQ(Bytes(got.begin(), got.end()), want) << e.alias.toStdString();
        QResource r(QStringLiteral(":/") + e.alias);
        EXPECT_EQ(r.compressionAlgorithm(), QResource::NoCompression) << e.alias.toStdString();
    }
}

TEST(Embedded, SoundsUnderUpperCaseNamesPicturesUnderTheirOwn) {
    for (const char* name : {"FIRE", "LEVELFIN", "SPACE", "UPAL"}) {
        QFile f(QStringLiteral(":/sounds/") + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        EXPECT_EQ(f.read(4), QByteArray("RIFF")) << name;
    }
    // A case-insensitive lookup: the game upper-cases the name it is asked for.
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/sounds/") + QStringLiteral("LevelFin").toUpper()));
    for (const char* name : {"BkGround", "Image1", "Image2", "Image3", "Image4", "Image5", "Image6",
                             "Image7", "Erase", "PauseImg", "GmOvImg"}) {
        const QImage img(QStringLiteral(":/pictures/") + QLatin1String(name) +
                         QStringLiteral(".bmp"));
        EXPECT_FALSE(img.isNull()) << name;
    }
    // Qt reads the palette pictures as palette pictures, with the exact colours.
    const QImage strip(QStringLiteral(":/pictures/Image2.bmp"));
    EXPECT_EQ(strip.format(), QImage::Format_Indexed8);
    EXPECT_EQ(strip.pixel(0, 2), qRgb(252, 252, 252));
    const QImage erase(QStringLiteral(":/pictures/Erase.bmp"));
    EXPECT_EQ(erase.pixel(0, 17), qRgb(192, 192, 192));
}

TEST(Embedded, NothingElseIsInTheResources) {
    // Under the asset folders (Qt keeps resources of its own elsewhere, :/qt-project.org, :/qpdf).
    int files = 0;
    for (const char* folder : {"pictures", "sounds", "avatars", "icons"})
        for (QDirIterator it(QStringLiteral(":/") + QLatin1String(folder), QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext(); it.next())
            ++files;
    EXPECT_EQ(files, static_cast<int>(QrcEntries().size()));
}
