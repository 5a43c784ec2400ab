#include "records/dialogs/hiscore.h"

#include <QFontMetrics>
#include <QLabel>
#include <QTabBar>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <string>

namespace zonky {
namespace {

using Column = THiScoreForm::Column;

class BestPlayers : public testing::Test {
  protected:
    QString Text(Column column, int k) const { return dialog.RowLabel(column, k)->text(); }
    QFont NameFont(int k) const { return dialog.RowLabel(THiScoreForm::NameColumn, k)->font(); }
    QTabBar* Tabs() const { return dialog.Controls().hitable->Tabs(); }

    HiScoreTable table;
    THiScoreForm dialog{table};
};

TEST_F(BestPlayers, TheTabsNameTheModesOverOneSharedPanel) {
    ASSERT_EQ(Tabs()->count(), 3);
    EXPECT_EQ(Tabs()->tabText(0), "Classic");
    EXPECT_EQ(Tabs()->tabText(1), "Dedadidavaza");
    EXPECT_EQ(Tabs()->tabText(2), "Zonky");
    // The rows are children of the tab control itself, not of a page per tab.
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(dialog.RowImage(k)->parentWidget(), dialog.Controls().hitable);
        EXPECT_EQ(dialog.RowLabel(THiScoreForm::ScoreColumn, k)->parentWidget(),
                  dialog.Controls().hitable);
    }
    EXPECT_EQ(dialog.size(), QSize(402, 444));
}

TEST_F(BestPlayers, AFullListShowsTenRowsWithTheNewestUnderlined) {
    for (int k = 0; k < 10; ++k)
        InsertHiScore(table, 2, 1000 - 50 * k, 1 + k % 8, "Player" + std::to_string(k), k);
    InsertHiScore(table, 2, 777, 5, "\xC0\xED\xFF", 7);  // "Аня", enters at position 6
    dialog.ShowTab(2);

    EXPECT_EQ(Tabs()->currentIndex(), 1);
    EXPECT_EQ(Text(THiScoreForm::NameColumn, 1), "Player0");
    EXPECT_EQ(Text(THiScoreForm::LevelColumn, 1), "1");
    EXPECT_EQ(Text(THiScoreForm::ScoreColumn, 1), "1000");
    EXPECT_EQ(Text(THiScoreForm::NameColumn, 6), QString::fromUtf8("Аня"));
    EXPECT_EQ(Text(THiScoreForm::LevelColumn, 6), "5");
    EXPECT_EQ(Text(THiScoreForm::ScoreColumn, 6), "777");
    EXPECT_EQ(Text(THiScoreForm::NameColumn, 10), "Player8");
    EXPECT_EQ(Text(THiScoreForm::ScoreColumn, 10), "600");
    for (int k = 1; k <= 10; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(NameFont(k).underline(), k == 6);
        EXPECT_FALSE(NameFont(k).bold());
        EXPECT_TRUE(dialog.RowLabel(THiScoreForm::LevelColumn, k)->font().bold());
        EXPECT_TRUE(dialog.RowLabel(THiScoreForm::ScoreColumn, k)->font().bold());
        EXPECT_EQ(dialog.RowImage(k)->geometry(), QRect(8, 35 * k + 16, 32, 32));
        EXPECT_EQ(dialog.RowLabel(THiScoreForm::NameColumn, k)->geometry().topLeft(),
                  QPoint(45, 35 * k + 23));
    }
}

TEST_F(BestPlayers, AnEmptyListShowsNeitherPicturesNorTexts) {
    InsertHiScore(table, 1, 500, 3, "Someone", 4);
    dialog.ShowTab(1);
    EXPECT_EQ(Text(THiScoreForm::NameColumn, 1), "Someone");
    // Another mode's empty list on the same rows clears them.
    QTest::mouseClick(Tabs(), Qt::LeftButton, {}, Tabs()->tabRect(2).center());
    EXPECT_EQ(Tabs()->currentIndex(), 2);
    for (int k = 1; k <= 10; ++k) {
        SCOPED_TRACE(k);
        EXPECT_TRUE(dialog.RowImage(k)->pixmap().isNull());
        for (Column column :
             {THiScoreForm::NameColumn, THiScoreForm::LevelColumn, THiScoreForm::ScoreColumn})
            EXPECT_TRUE(Text(column, k).isEmpty());
    }
}

TEST_F(BestPlayers, AWonGameShowsWonAsItsLevel) {
    InsertHiScore(table, 3, 90000, 128, "Champion", 0);
    InsertHiScore(table, 3, 100, 8, "Eighth", 0);
    dialog.ShowTab(3);
    EXPECT_EQ(Text(THiScoreForm::LevelColumn, 1), "Won");
    EXPECT_EQ(Text(THiScoreForm::LevelColumn, 2), "8");
}

TEST_F(BestPlayers, ACorruptAvatarOrNewestShowsNoPictureAndMarksNothing) {
    InsertHiScore(table, 1, 300, 2, "Good", 3);
    InsertHiScore(table, 1, 200, 2, "Bad", 3);
    table.SetAvatar(1, 2, 99);
    table.SetAvatar(1, 1, -1);
    table.SetNewest(1, 11);
    dialog.ShowTab(1);
    EXPECT_TRUE(dialog.RowImage(1)->pixmap().isNull());
    EXPECT_TRUE(dialog.RowImage(2)->pixmap().isNull());
    EXPECT_EQ(Text(THiScoreForm::NameColumn, 2), "Bad");
    for (int k = 1; k <= 10; ++k) EXPECT_FALSE(NameFont(k).underline()) << k;
}

// A forged file may hold anything its checksum covers; the rows still say nothing false.
TEST_F(BestPlayers, ForgedLevelsShowAsUnknownAndControlCharactersAsSpaces) {
    InsertHiScore(table, 1, 300, 9, "Line\nbreak\x1B[2J", 3);
    InsertHiScore(table, 1, 200, 127, "Tab\there", 3);
    InsertHiScore(table, 1, 100, 129, "\x7F", 3);
    dialog.ShowTab(1);
    EXPECT_EQ(Text(THiScoreForm::NameColumn, 1), "Line break [2J");
    EXPECT_EQ(Text(THiScoreForm::NameColumn, 2), "Tab here");
    EXPECT_EQ(Text(THiScoreForm::NameColumn, 3), " ");
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(Text(THiScoreForm::LevelColumn, k), "?") << k;
}

TEST_F(BestPlayers, EveryOpeningSelectsTheModesTabAndRefills) {
    InsertHiScore(table, 1, 10, 1, "One", 0);
    InsertHiScore(table, 2, 20, 1, "Two", 0);
    dialog.ShowTab(1);
    QTest::mouseClick(Tabs(), Qt::LeftButton, {}, Tabs()->tabRect(1).center());
    EXPECT_EQ(Text(THiScoreForm::NameColumn, 1), "Two");
    dialog.close();

    // The menu opens on the current mode even though another tab was left selected.
    dialog.ShowTab(1);
    EXPECT_EQ(dialog.HiScoreTab(), 1);
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    EXPECT_EQ(Text(THiScoreForm::NameColumn, 1), "One");

    // Already open on the same tab: it refreshes from the table.
    InsertHiScore(table, 1, 50, 2, "New", 0);
    dialog.ShowTab(1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Text(THiScoreForm::NameColumn, 1), "New");
    EXPECT_TRUE(NameFont(1).underline());
    EXPECT_EQ(Text(THiScoreForm::NameColumn, 2), "One");
    EXPECT_FALSE(NameFont(2).underline());

    // The rows exist once: reopening adds no controls.
    const auto labels = dialog.findChildren<QLabel*>().size();
    dialog.close();
    dialog.ShowTab(2);
    EXPECT_EQ(dialog.findChildren<QLabel*>().size(), labels);

    QTest::mouseClick(dialog.Controls().BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(BestPlayers, TheLongestNameAndAnyScoreFitTheirColumns) {
    const std::string widest(25, 'W');
    InsertHiScore(table, 1, 5, 1, widest, 0);
    table.SetShownScore(1, 1, -2147483647 - 1);
    dialog.ShowTab(1);
    for (Column column : {THiScoreForm::NameColumn, THiScoreForm::ScoreColumn}) {
        const QLabel* label = dialog.RowLabel(column, 1);
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()),
                  label->contentsRect().width())
            << label->text().toStdString();
    }
    EXPECT_EQ(Text(THiScoreForm::ScoreColumn, 1), "-2147483648");
}

}  // namespace
}  // namespace zonky
