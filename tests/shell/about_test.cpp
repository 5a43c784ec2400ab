#include <QGuiApplication>
#include <QScreen>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "shell/links.h"
#include "tests/shell/all_dialogs.h"

namespace zonky {
namespace {

void Click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(widget, button, {}, widget->rect().center());
}

TEST(Links, WebAddressesGetTheSchemeAndTheSuffix) {
    EXPECT_EQ(WebLinkUrl("www.example.org/x").toString(),
              "http://www.example.org/x/?from_ZonkyMos");
    EXPECT_EQ(WebLinkUrl("https://www.example.org").toString(),
              "https://www.example.org/?from_ZonkyMos");
    EXPECT_EQ(MailLinkUrl("support@example.org").toString(), "mailto:support@example.org");
}

class AboutDialogs : public testing::Test {
  protected:
    AllDialogs d;
    UrlCatcher catcher;
};

TEST_F(AboutDialogs, TheLinksOpenWhatTheyShowInTheLanguageShown) {
    ApplyLanguage(0, d.Targets());
    d.AboutFormEng.show();
    Click(d.AboutFormEng.Controls().Label7);
    Click(d.AboutFormEng.Controls().Label6);
    Click(d.AboutFormEng.Controls().Label7, Qt::RightButton);  // only a left click opens
    ApplyLanguage(1, d.Targets());
    d.AboutFormRus.show();
    Click(d.AboutFormRus.Controls().Label7);
    Click(d.AboutFormRus.Controls().Label6);
    ASSERT_EQ(catcher.urls.size(), 4u);
    EXPECT_EQ(catcher.urls[0].toString(), "http://www.example.org/zonkymosaro/?from_ZonkyMos");
    EXPECT_EQ(catcher.urls[1].toString(), "mailto:support@example.org");
    EXPECT_EQ(catcher.urls[2].toString(), "http://www.example.org/ru/zonkymosaro/?from_ZonkyMos");
    EXPECT_EQ(catcher.urls[3].toString(), "mailto:support@example.org");
    EXPECT_EQ(d.AboutFormRus.windowTitle(), QString::fromUtf8("О программе"));
}

TEST_F(AboutDialogs, TheAboutDialogsKeepTheirSizesAndButtons) {
    EXPECT_EQ(d.AboutFormEng.size(), QSize(297, 154));
    EXPECT_EQ(d.AboutFormRus.size(), QSize(297, 153));
    EXPECT_EQ(d.AboutFormEng.Controls().Button1->geometry(), QRect(208, 120, 75, 25));
    EXPECT_EQ(d.AboutFormRus.Controls().Button1->geometry(), QRect(216, 120, 75, 25));
    d.AboutFormEng.show();
    Click(d.AboutFormEng.Controls().Button1);
    EXPECT_FALSE(d.AboutFormEng.isVisible());
    EXPECT_EQ(d.AboutFormEng.result(), QDialog::Accepted);
}

TEST_F(AboutDialogs, Form2PicturesOpenTheSisterGamesInTheCurrentLanguage) {
    const Ui::TForm2& ui = d.Form2.Controls();
    EXPECT_EQ(ui.Image3->toolTip(), "Zonky Cascade");
    EXPECT_EQ(ui.Image1->toolTip(), "Mosaro Tiles");
    d.Form2.show();
    Click(ui.Image3);
    Click(ui.Image1);
    d.settings.UiLanguage = 1;
    Click(ui.Image3);
    ASSERT_EQ(catcher.urls.size(), 3u);
    EXPECT_EQ(catcher.urls[0].toString(), "http://www.example.org/zonkycascade/?from_ZonkyMos");
    EXPECT_EQ(catcher.urls[1].toString(), "http://www.example.org/mosarotiles/?from_ZonkyMos");
    EXPECT_EQ(catcher.urls[2].toString(), "http://www.example.org/ru/zonkycascade/?from_ZonkyMos");
}

TEST_F(AboutDialogs, Form2ClosesTheSameWayByOkOrTitleBarCentredOnTheScreen) {
    d.Form2.show();
    const QRect screen = d.Form2.screen()->availableGeometry();
    EXPECT_LE((d.Form2.frameGeometry().center() - screen.center()).manhattanLength(), 8);
    Click(d.Form2.Controls().Button1);
    EXPECT_FALSE(d.Form2.isVisible());
    d.Form2.show();
    d.Form2.close();
    EXPECT_FALSE(d.Form2.isVisible());
    EXPECT_EQ(d.Form2.size(), QSize(279, 281));
}

}  // namespace
}  // namespace zonky
