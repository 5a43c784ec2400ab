#include "shell/options.h"

#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "tests/shell/all_dialogs.h"

namespace zonky {

// Found by argument lookup, so they live beside Settings; local to this test.
static bool operator==(const Settings& a, const Settings& b) {
    return a.RotateClockwise == b.RotateClockwise && a.MusicOn == b.MusicOn &&
           a.SoundOn == b.SoundOn && a.UiLanguage == b.UiLanguage;
}

static void PrintTo(const Settings& s, std::ostream* os) {
    *os << "{rotate " << int(s.RotateClockwise) << ", music " << int(s.MusicOn) << ", sound "
        << int(s.SoundOn) << ", language " << int(s.UiLanguage) << "}";
}

namespace {

class OptionsDialog : public testing::Test {
  protected:
    void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // The player turns every visible control away from the defaults.
    void ChangeEverything() {
        Click(ui.SpeedButton2);
        Click(ui.CheckBox2);
        Click(ui.LRu);
    }

    Settings settings;  // 0, 1, 1, 0
    TOpForm dialog{settings};
    const Ui::TOpForm& ui = dialog.Controls();
    const Settings changed{1, 1, 0, 1};
};

TEST_F(OptionsDialog, OpeningShowsTheSettingsAndChangesNothing) {
    settings = {1, 0, 0, 1};
    dialog.show();
    EXPECT_TRUE(ui.SpeedButton2->isChecked());
    EXPECT_FALSE(ui.SpeedButton1->isChecked());
    EXPECT_FALSE(ui.CheckBox1->isChecked());
    EXPECT_FALSE(ui.CheckBox2->isChecked());
    EXPECT_TRUE(ui.LRu->isChecked());
    EXPECT_FALSE(ui.lEn->isChecked());
    EXPECT_EQ(settings, (Settings{1, 0, 0, 1}));
    EXPECT_EQ(dialog.SavedSettings(), settings);
    // The music box exists but is never shown.
    EXPECT_FALSE(ui.CheckBox1->isVisible());
    EXPECT_TRUE(ui.CheckBox2->isVisible());
}

TEST_F(OptionsDialog, EveryControlChangesItsSettingAtOnce) {
    dialog.show();
    Click(ui.SpeedButton2);
    EXPECT_EQ(settings.RotateClockwise, 1);
    EXPECT_FALSE(ui.SpeedButton1->isChecked());  // one group: exactly one is pressed
    Click(ui.SpeedButton1);
    EXPECT_EQ(settings.RotateClockwise, 0);
    Click(ui.CheckBox2);
    EXPECT_EQ(settings.SoundOn, 0);
    Click(ui.LRu);
    EXPECT_EQ(settings.UiLanguage, 1);
    Click(ui.lEn);
    EXPECT_EQ(settings.UiLanguage, 0);
    ui.CheckBox1->click();  // hidden from the player, but wired
    EXPECT_EQ(settings.MusicOn, 0);
    QTest::keyClick(ui.CheckBox2, Qt::Key_Space);
    EXPECT_EQ(settings.SoundOn, 1);
}

TEST_F(OptionsDialog, ArrowKeysBetweenTheLanguagesChangeTheSettingWithTheMark) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    ui.lEn->setFocus();
    QTest::keyClick(ui.lEn, Qt::Key_Down);
    EXPECT_TRUE(ui.LRu->isChecked());
    EXPECT_EQ(ui.LRu->isChecked(), settings.UiLanguage == 1);
    QTest::keyClick(ui.LRu, Qt::Key_Up);
    EXPECT_EQ(ui.lEn->isChecked(), settings.UiLanguage == 0);
    EXPECT_TRUE(ui.lEn->isChecked());
}

TEST_F(OptionsDialog, OkAndTheTitleBarKeepTheChangesCancelAndEscapeRestore) {
    struct Way {
        const char* name;
        void (*close)(TOpForm&);
        bool restores;
    };
    const Way ways[] = {
        {"OK", [](TOpForm& f) { QTest::mouseClick(f.Controls().ButtonOk, Qt::LeftButton); }, false},
        {"Enter", [](TOpForm& f) { QTest::keyClick(&f, Qt::Key_Return); }, false},
        {"Cancel", [](TOpForm& f) { QTest::mouseClick(f.Controls().ButtonCancel, Qt::LeftButton); },
         true},
        {"Escape", [](TOpForm& f) { QTest::keyClick(&f, Qt::Key_Escape); }, true},
        {"title bar", [](TOpForm& f) { f.close(); }, false},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        settings = Settings{};
        dialog.show();
        ChangeEverything();
        ASSERT_EQ(settings, changed);
        way.close(dialog);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(settings, way.restores ? Settings{} : changed);
    }
}

TEST_F(OptionsDialog, AfterCancelTheNextOpeningShowsTheRestoredSettings) {
    dialog.show();
    ChangeEverything();
    Click(ui.ButtonCancel);
    dialog.show();
    EXPECT_TRUE(ui.SpeedButton1->isChecked());
    EXPECT_TRUE(ui.CheckBox2->isChecked());
    EXPECT_TRUE(ui.lEn->isChecked());
}

// Closed with Cancel, the next opening starts over at the first control: Enter is OK again.
TEST_F(OptionsDialog, AfterCancelEnterMeansOkAgain) {
    dialog.show();
    ui.ButtonCancel->setFocus();
    Click(ui.ButtonCancel);
    dialog.show();
    EXPECT_EQ(dialog.focusWidget(), ui.CheckBox2);
    ui.SpeedButton2->click();
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.RotateClockwise, 1);
}

TEST_F(OptionsDialog, ModalRunWithCancelRestores) {
    QTimer::singleShot(0, &dialog, [this] {
        ChangeEverything();
        ui.ButtonCancel->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(settings, Settings{});
}

TEST(OptionsLanguage, CancelRestoresTheOldLanguageAndAppliesNothing) {
    AllDialogs d;
    ApplyLanguage(d.settings.UiLanguage, d.Targets());
    d.OpForm.show();
    QTest::mouseClick(d.OpForm.Controls().LRu, Qt::LeftButton);
    QTest::mouseClick(d.OpForm.Controls().ButtonCancel, Qt::LeftButton);
    EXPECT_EQ(d.settings.UiLanguage, 0);
    EXPECT_EQ(d.Game1->title(), "&Game");
    EXPECT_EQ(d.OpForm.Controls().ButtonCancel->text(), "Cancel");

    // Closed with the title bar, the new language stays for the main window to apply.
    d.OpForm.show();
    QTest::mouseClick(d.OpForm.Controls().LRu, Qt::LeftButton);
    d.OpForm.close();
    EXPECT_EQ(d.settings.UiLanguage, 1);
    EXPECT_EQ(d.Game1->title(), "&Game");  // the dialog itself applies nothing
}

}  // namespace
}  // namespace zonky
