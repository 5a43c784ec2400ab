#include "records/dialogs/dialog_support.h"

#include <QDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include "records/dialogs/hiscore.h"
#include "records/dialogs/input.h"

namespace zonky {
namespace {

TEST(DialogFonts, LayoutFacesResolveToInstalledLinuxFaces) {
    EXPECT_EQ(QFontInfo(QFont("MS Sans Serif", 8)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(QFont("Times New Roman", 11)).family(), "Liberation Serif");
    EXPECT_EQ(QFontInfo(QFont("Courier New", 10)).family(), "Liberation Mono");
    EXPECT_EQ(QFontInfo(QFont("Comic Sans MS", 15)).family(), "Comic Neue");

    TInputName dialog;
    EXPECT_EQ(QFontInfo(dialog.font()).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(dialog.Controls().Edit1->font()).family(), "Liberation Mono");
}

TEST(Placement, HalvesAreCutTowardZero) {
    // (309 - 208) / 2 = 50.5 and (380 - 143) / 2 = 118.5 are cut to 50 and 118.
    EXPECT_EQ(CentredIn(QRect(100, 80, 309, 380), QSize(208, 143)), QPoint(150, 198));
    // A dialog wider than its owner: (309 - 402) / 2 = -46.5 becomes -46, not -47.
    EXPECT_EQ(CentredIn(QRect(100, 80, 309, 380), QSize(402, 444)), QPoint(54, 48));
}

// The window system adds frames after the first show, so a shown dialog is checked to a
// frame's width.
void ExpectCentredOver(const QRect& outer, const QWidget& dialog) {
    const QPoint offset = dialog.frameGeometry().center() - outer.center();
    EXPECT_LE(offset.manhattanLength(), 8) << offset.x() << "," << offset.y();
}

TEST(Placement, DialogsOpenOverTheMiddleOfTheMainWindow) {
    QWidget owner;
    owner.setGeometry(100, 80, 309, 380);
    owner.show();
    TInputName input(&owner);
    input.show();
    ExpectCentredOver(owner.frameGeometry(), input);
    HiScoreTable table;
    THiScoreForm hiScore(table, &owner);
    hiScore.ShowTab(1);
    ExpectCentredOver(owner.frameGeometry(), hiScore);

    // Moved away and opened again: back over the middle.
    input.close();
    input.move(0, 0);
    input.show();
    ExpectCentredOver(owner.frameGeometry(), input);
}

TEST(Placement, ADialogWithoutAVisibleOwnerGoesToTheMiddleOfTheScreen) {
    QWidget owner;
    TInputName input(&owner);
    input.show();
    ExpectCentredOver(QGuiApplication::primaryScreen()->availableGeometry(), input);
}

}  // namespace
}  // namespace zonky
