#include "shell/mosconst.h"

#include <QKeySequence>
#include <QTabBar>

#include <gtest/gtest.h>

#include "tests/shell/all_dialogs.h"

namespace zonky {
namespace {

class Languages : public testing::Test {
  protected:
    // Every caption ApplyLanguage owns, in its order, with the expected text.
    void ExpectCaptions(std::uint8_t l) {
        const auto T = [l](UiId id) { return UiText(id, l); };
        EXPECT_EQ(d.Game1->title(), T(UiId::Game));
        EXPECT_EQ(d.New->text(), T(UiId::New));
        EXPECT_EQ(d.Pause1->text(), T(UiId::Pause));
        EXPECT_EQ(d.Classic1->text(), "Classic");
        EXPECT_EQ(d.Dedadidavaza1->text(), "Dedadidavaza");
        EXPECT_EQ(d.Zonky1->text(), "Zonky");
        EXPECT_EQ(d.Options->text(), T(UiId::Options));
        EXPECT_EQ(d.hiScore1->text(), T(UiId::HiScore));
        EXPECT_EQ(d.Exit1->text(), T(UiId::Exit));
        EXPECT_EQ(d.About1->text(), T(UiId::About));

        const Ui::TOpForm& op = d.OpForm.Controls();
        EXPECT_EQ(op.Label1->text(), T(UiId::Rotate));
        EXPECT_EQ(op.CheckBox1->text(), T(UiId::Music));
        EXPECT_EQ(op.CheckBox2->text(), T(UiId::Sound));
        EXPECT_EQ(op.Language->text(), T(UiId::Language));
        EXPECT_EQ(op.ButtonCancel->text(), T(UiId::Cancel));

        EXPECT_EQ(d.InputName.Controls().Label1->text(), T(UiId::InputYourName));
        EXPECT_EQ(d.InputName.windowTitle(), T(UiId::RecordEstablished));

        const Ui::THiScoreForm& hi = d.HiScoreForm.Controls();
        EXPECT_EQ(d.HiScoreForm.windowTitle(), T(UiId::BestPlayers));
        EXPECT_EQ(hi.Label1->text(), T(UiId::Name));
        EXPECT_EQ(hi.Label2->text(), T(UiId::Level));
        EXPECT_EQ(hi.Label3->text(), T(UiId::Score));

        for (QDialog* about :
             {static_cast<QDialog*>(&d.AboutFormEng), static_cast<QDialog*>(&d.AboutFormRus)})
            EXPECT_EQ(about->windowTitle(), T(UiId::About));
        EXPECT_EQ(d.AboutFormEng.Controls().Label7->text(), T(UiId::WebPage));
        EXPECT_EQ(d.AboutFormRus.Controls().Label7->text(), T(UiId::WebPage));
        EXPECT_EQ(d.AboutFormEng.Controls().Label6->text(), "support@example.org");
        EXPECT_EQ(d.AboutFormRus.Controls().Label6->text(), "support@example.org");

        EXPECT_EQ(d.Form2.windowTitle(), T(UiId::Welcome));
        EXPECT_EQ(d.Form2.Controls().Label4->text(), Form2MessageLine(l));
    }

    // Captions that stay as created in both languages.
    void ExpectFixedCaptions() {
        EXPECT_EQ(d.N5->title(), "&?");
        const QTabBar* tabs = d.HiScoreForm.Controls().hitable->Tabs();
        EXPECT_EQ(tabs->tabText(0), "Classic");
        EXPECT_EQ(tabs->tabText(1), "Dedadidavaza");
        EXPECT_EQ(tabs->tabText(2), "Zonky");
        EXPECT_EQ(d.OpForm.Controls().lEn->text(), "English");
        EXPECT_EQ(d.OpForm.Controls().LRu->text(), "Russian");
        EXPECT_EQ(d.OpForm.Controls().ButtonOk->text(), "OK");
        EXPECT_EQ(d.OpForm.windowTitle(), "Options");
        EXPECT_EQ(d.AboutFormRus.Controls().Label4->text(), "Web Page:");
        EXPECT_EQ(d.AboutFormRus.Controls().Label5->text(), "E-Mail:");
        EXPECT_EQ(d.AboutFormRus.Controls().Label2->text(), "Version 1.2");
        EXPECT_EQ(d.Form2.Controls().Label2->text(), "Version 1.2");
    }

    AllDialogs d;
};

TEST_F(Languages, SwitchingRenamesEveryCaptionInBothDirections) {
    ApplyLanguage(1, d.Targets());
    ExpectCaptions(1);
    ExpectFixedCaptions();
    EXPECT_EQ(d.Game1->title(), QString::fromUtf8("&Игра"));
    EXPECT_EQ(d.hiScore1->text(), QString::fromUtf8("Рекорды"));
    EXPECT_EQ(d.HiScoreForm.Controls().Label2->text(), QString::fromUtf8("Тур"));
    EXPECT_EQ(d.AboutFormRus.windowTitle(), QString::fromUtf8("О программе"));

    ApplyLanguage(0, d.Targets());
    ExpectCaptions(0);
    ExpectFixedCaptions();
    EXPECT_EQ(d.Game1->title(), "&Game");
    EXPECT_EQ(d.Pause1->text(), "Pause");
    EXPECT_EQ(d.InputName.windowTitle(), "The record is established!");
}

TEST_F(Languages, TheRussianGameMenuKeepsItsAccessKey) {
    ApplyLanguage(1, d.Targets());
    EXPECT_EQ(QKeySequence::mnemonic(d.Game1->title()),
              QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(0x0418))));  // Alt+И
    ApplyLanguage(0, d.Targets());
    EXPECT_EQ(QKeySequence::mnemonic(d.Game1->title()),
              QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key_G)));
}

TEST_F(Languages, TheMessageLineJoinsItsHalvesWithOneSpace) {
    ApplyLanguage(0, d.Targets());
    EXPECT_EQ(d.Form2.Controls().Label4->text(), "Check out other interesting games:");
    ApplyLanguage(1, d.Targets());
    EXPECT_EQ(d.Form2.Controls().Label4->text(),
              QString::fromUtf8("Поиграйте и в эти интересные игры:"));
    EXPECT_EQ(d.Form2.windowTitle(), QString::fromUtf8("Добро пожаловать!"));

    SetGoodByeTexts(d.Form2, 1);
    EXPECT_EQ(d.Form2.windowTitle(), QString::fromUtf8("До свидания!"));
    SetGoodByeTexts(d.Form2, 0);
    EXPECT_EQ(d.Form2.windowTitle(), "Good Bye!");
    EXPECT_EQ(d.Form2.Controls().Label4->text(), "Check out other interesting games:");
}

TEST(UiStrings, EveryIdHasBothTextsAndTheAddressesAreReserved) {
    for (int id = 0; id < kUiStringCount; ++id) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(UiTextUtf8(UiId(id), 0).empty());
        EXPECT_FALSE(UiTextUtf8(UiId(id), 1).empty());
        EXPECT_EQ(UiText(UiId(id), 7), UiText(UiId(id), 0));  // an unknown language is English
    }
    for (UiId id : {UiId::WebPage, UiId::Game1Page, UiId::Game2Page})
        for (std::uint8_t l : {0, 1}) {
            const QString address = UiText(id, l);
            EXPECT_FALSE(address.contains("://")) << address.toStdString();
            EXPECT_TRUE(address.startsWith("www.example.org/")) << address.toStdString();
        }
    EXPECT_TRUE(kSupportMail.ends_with("@example.org"));
}

}  // namespace
}  // namespace zonky
