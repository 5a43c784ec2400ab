#include "records/hiscore_table.h"

#include <gtest/gtest.h>

#include <string>

namespace zonky {
namespace {

TEST(HiScoreTable, FieldsSitAtTheirByteOffsetsLittleEndian) {
    HiScoreTable table;
    table.SetAvatar(2, 3, 0x01020304);
    table.SetShownScore(2, 3, -2);
    table.SetFinalLevel(2, 3, 128);
    table.SetName(2, 3, "Ann");
    table.SetNewest(3, 7);
    const std::size_t entry = 404 + 2 * 40;
    EXPECT_EQ(table.bytes[entry], 0x04);
    EXPECT_EQ(table.bytes[entry + 3], 0x01);
    EXPECT_EQ(table.bytes[entry + 4], 0xFE);
    EXPECT_EQ(table.bytes[entry + 7], 0xFF);
    EXPECT_EQ(table.bytes[entry + 8], 128);
    EXPECT_EQ(table.bytes[entry + 12], 3);
    EXPECT_EQ(table.bytes[entry + 13], 'A');
    EXPECT_EQ(table.bytes[808 + 400], 7);
    EXPECT_EQ(table.Name(2, 3), "Ann");
    EXPECT_EQ(table.ShownScore(2, 3), -2);
}

TEST(HiScoreTable, BadStoredFieldsReadSafely) {
    HiScoreTable table;
    table.bytes[12] = 200;  // a length past the field
    EXPECT_EQ(table.Name(1, 1).size(), 25u);
    table.SetAvatar(1, 1, 25);
    EXPECT_EQ(table.ShownAvatar(1, 1), -1);
    table.SetAvatar(1, 1, 24);
    EXPECT_EQ(table.ShownAvatar(1, 1), 24);
    table.SetNewest(1, 11);
    EXPECT_EQ(table.ShownNewest(1), 0);
    table.SetNewest(1, 10);
    EXPECT_EQ(table.ShownNewest(1), 10);
}

TEST(HiScores, FirstResultGoesToTheTopOfAnEmptyList) {
    HiScoreTable table;
    EXPECT_FALSE(QualifiesForHiScore(table, 2, 0));
    EXPECT_TRUE(QualifiesForHiScore(table, 2, 1));
    EXPECT_EQ(InsertHiScore(table, 2, 1, 1, "", 0), 1);
    EXPECT_EQ(table.Newest(2), 1);
    EXPECT_EQ(table.FinalLevel(2, 1), 1);
    for (int mode : {1, 3})
        for (std::size_t b = 0; b < HiScoreTable::kListSize; ++b)
            EXPECT_EQ(table.bytes[(mode - 1) * HiScoreTable::kListSize + b], 0);
}

TEST(HiScores, EqualScoresGoBehindAndAFullListNeedsToBeatTheLast) {
    HiScoreTable table;
    for (int k = 0; k < 10; ++k)
        InsertHiScore(table, 1, 100 - k * 10, 2, "p" + std::to_string(k), k);
    EXPECT_EQ(table.ShownScore(1, 10), 10);
    EXPECT_FALSE(QualifiesForHiScore(table, 1, 10));
    EXPECT_TRUE(QualifiesForHiScore(table, 1, 11));
    EXPECT_EQ(InsertHiScore(table, 1, 11, 3, "last", 4), 10);
    EXPECT_EQ(table.Name(1, 10), "last");

    EXPECT_EQ(InsertHiScore(table, 1, 50, 5, "tie", 6), 7);  // behind the older 50
    EXPECT_EQ(table.Name(1, 6), "p5");
    EXPECT_EQ(table.Name(1, 8), "p6");
    EXPECT_EQ(table.Newest(1), 7);

    EXPECT_EQ(InsertHiScore(table, 1, 1000, 128, "top", 1), 1);
    EXPECT_EQ(table.Name(1, 2), "p0");
    EXPECT_EQ(table.FinalLevel(1, 1), 128);
}

TEST(HiScores, NamesAreCutToTwentyFiveAndTheFieldTailIsKept) {
    HiScoreTable table;
    const std::string longName(30, 'x');
    InsertHiScore(table, 3, 5, 1, longName, 0);
    EXPECT_EQ(table.Name(3, 1), std::string(25, 'x'));
    InsertHiScore(table, 3, 9, 1, "ab", 0);  // moves the long entry down
    const std::size_t second = 808 + 40;
    EXPECT_EQ(table.bytes[second + 12], 25);
    InsertHiScore(table, 3, 4, 1, "", 0);
    EXPECT_EQ(table.Name(3, 3), "");
    EXPECT_GT(table.FinalLevel(3, 3), 0);  // an empty name still fills the entry
    EXPECT_EQ(InsertHiScore(table, 0, 5, 1, "", 0), 0);
    EXPECT_FALSE(QualifiesForHiScore(table, 4, 5));
}

}  // namespace
}  // namespace zonky
