#include "records/dialogs/input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "records/dialogs/cp1251_validator.h"
#include "records/name_codec.h"

namespace zonky {
namespace {

// Types one character the way a keyboard does; QTest::keyClicks only knows Latin-1.
void Type(QWidget* widget, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

void TypeEach(QWidget* widget, const QString& text) {
    for (QChar c : text) Type(widget, QString(c));
}

class NameDialog : public testing::Test {
  protected:
    TInputName dialog;
    const Ui::TInputName& ui = dialog.Controls();
};

TEST_F(NameDialog, FirstOpeningOffersAnEmptyNameAndTheFirstAvatar) {
    dialog.show();
    EXPECT_TRUE(ui.Edit1->text().isEmpty());
    EXPECT_EQ(ui.ScrollBar1->minimum(), 1);
    EXPECT_EQ(ui.ScrollBar1->maximum(), 25);
    EXPECT_EQ(ui.ScrollBar1->value(), 1);
    EXPECT_EQ(dialog.PlayerAvatar(), 0);
    EXPECT_TRUE(dialog.PlayerName().isEmpty());
}

TEST_F(NameDialog, TheKeyboardStartsInTheNameBoxAndTabsToTheScrollBarThenOk) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(QApplication::focusWidget(), ui.Edit1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ui.ScrollBar1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(dialog.PlayerAvatar(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ui.BitBtn1);
}

TEST_F(NameDialog, ScrollBarFarLeftIsAvatarZeroAndFarRightAvatar24) {
    dialog.show();
    ui.ScrollBar1->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(dialog.PlayerAvatar(), 24);
    ui.ScrollBar1->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(dialog.PlayerAvatar(), 0);
    // The arrow keys step the way they point.
    QTest::keyClick(ui.ScrollBar1, Qt::Key_Right);
    QTest::keyClick(ui.ScrollBar1, Qt::Key_Right);
    EXPECT_EQ(dialog.PlayerAvatar(), 2);
    QTest::keyClick(ui.ScrollBar1, Qt::Key_Left);
    EXPECT_EQ(dialog.PlayerAvatar(), 1);
    QTest::keyClick(ui.ScrollBar1, Qt::Key_End);
    EXPECT_EQ(dialog.PlayerAvatar(), 24);
}

TEST_F(NameDialog, ThePreviousNameAndAvatarAreOfferedAgain) {
    dialog.show();
    QTest::keyClicks(ui.Edit1, "Ann");
    ui.ScrollBar1->setValue(20);
    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.PlayerName(), "Ann");
    EXPECT_EQ(dialog.PlayerAvatar(), 19);

    dialog.show();
    EXPECT_EQ(ui.Edit1->text(), "Ann");
    EXPECT_EQ(ui.ScrollBar1->value(), 20);
    EXPECT_EQ(dialog.PlayerAvatar(), 19);
    // The keys start in the name box with the name selected: typing replaces it.
    EXPECT_EQ(dialog.focusWidget(), ui.Edit1);
    EXPECT_EQ(ui.Edit1->selectedText(), "Ann");
    QTest::keyClicks(ui.Edit1, "Bo");
    EXPECT_EQ(ui.Edit1->text(), "Bo");
}

TEST_F(NameDialog, TheNameIsTakenHoweverTheDialogCloses) {
    dialog.show();
    QTest::keyClicks(ui.Edit1, "Bo");
    dialog.close();  // the title-bar button
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.PlayerName(), "Bo");

    // The offered name is selected, so typing replaces it; End keeps it and appends.
    dialog.show();
    QTest::keyClick(ui.Edit1, Qt::Key_End);
    QTest::keyClicks(ui.Edit1, "b");
    QTest::keyClick(ui.Edit1, Qt::Key_Return);  // OK is the default button
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.PlayerName(), "Bob");

    // Escape is no way out: there is no Cancel to stand for.
    dialog.show();
    QTest::keyClick(ui.Edit1, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    ui.Edit1->clear();
    dialog.close();
    EXPECT_TRUE(dialog.PlayerName().isEmpty());
}

TEST_F(NameDialog, ATwentySixthCharacterCannotBeTyped) {
    dialog.show();
    TypeEach(ui.Edit1, QString::fromUtf8("Абвгдеёжзийклмнопрстуфхцч"));  // 25 letters
    ASSERT_EQ(ui.Edit1->text().size(), 25);
    Type(ui.Edit1, QString::fromUtf8("ш"));
    QTest::keyClicks(ui.Edit1, "x");
    EXPECT_EQ(ui.Edit1->text(), QString::fromUtf8("Абвгдеёжзийклмнопрстуфхцч"));
    dialog.close();
    EXPECT_EQ(dialog.PlayerNameCp1251().size(), 25u);
}

TEST_F(NameDialog, OnlyCharactersWithAWindows1251FormAreAccepted) {
    dialog.show();
    TypeEach(ui.Edit1, QString::fromUtf8("Жёлудь €№"));
    Type(ui.Edit1, QString::fromUtf8("中"));  // CJK
    Type(ui.Edit1, QString::fromUtf8("😀"));   // outside the BMP
    Type(ui.Edit1, QString::fromUtf8("ā"));   // Latin Extended-A
    TypeEach(ui.Edit1, QString::fromUtf8("?"));
    EXPECT_EQ(ui.Edit1->text(), QString::fromUtf8("Жёлудь €№?"));
    dialog.close();
    // The stored form reads back exactly as typed.
    const std::string stored = dialog.PlayerNameCp1251();
    EXPECT_EQ(stored, "\xC6\xB8\xEB\xF3\xE4\xFC\x20\x88\xB9\x3F");
    EXPECT_EQ(QString::fromUtf8(Cp1251ToUtf8(stored).c_str()), dialog.PlayerName());
}

TEST(Cp1251Form, PastedTextWithAForeignCharacterIsRefusedWhole) {
    EXPECT_TRUE(HasCp1251Form(QString::fromUtf8("Иван Petrov-2")));
    EXPECT_TRUE(HasCp1251Form(QString()));
    EXPECT_FALSE(HasCp1251Form(QString::fromUtf8("Ivan 中")));
    EXPECT_FALSE(HasCp1251Form(QString::fromUtf8("\xEF\xBF\xBD")));  // the replacement mark

    TInputName dialog;
    dialog.show();
    QLineEdit* edit = dialog.Controls().Edit1;
    edit->insert(QString::fromUtf8("Ivan 中"));
    EXPECT_TRUE(edit->text().isEmpty());
    edit->insert(QString::fromUtf8("Иван"));
    EXPECT_EQ(edit->text(), QString::fromUtf8("Иван"));
}

}  // namespace
}  // namespace zonky
