// The resources reach an executable that links zonky_resources only through a static library.
#include <gtest/gtest.h>

#include <QFile>

bool ProbeResourceOpens(const char* path);

TEST(EmbeddedThroughStaticLibrary, AssetsOpenWithQFile) {
    EXPECT_TRUE(ProbeResourceOpens(":/sounds/LEVELFIN"));
    EXPECT_TRUE(ProbeResourceOpens(":/pictures/BkGround.bmp"));
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/avatars/avatar24.png")));
}
