#include "records/hiscore_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "game/game.h"

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

TEST(HiScores, AScoreThatBeatsNoEntryIsNotInsertedAnywhere) {
    HiScoreTable table;
    for (int k = 0; k < 10; ++k) InsertHiScore(table, 2, 50, 1, "p" + std::to_string(k), k);
    const HiScoreTable::Bytes before = table.bytes;
    EXPECT_EQ(InsertHiScore(table, 2, 50, 8, "late", 3), 0);
    EXPECT_EQ(InsertHiScore(table, 2, 0, 8, "late", 3), 0);
    EXPECT_EQ(table.bytes, before);  // the tenth 50 is kept, Newest unchanged
}

// A forged list (the checksum is no secret): ten entries the dialog shows empty, whatever
// scores they hold, leave room for any record.
TEST(HiScores, EntriesShownEmptyAreEmptySlotsWhateverTheyHold) {
    HiScoreTable table;
    for (int k = 1; k <= 10; ++k) {
        table.SetShownScore(1, k, 2000000000);
        table.SetFinalLevel(1, k, -k);
    }
    table.SetShownScore(2, 1, -50);  // a negative score counts as 0
    table.SetFinalLevel(2, 1, 3);
    for (int k = 2; k <= 10; ++k) table.SetFinalLevel(2, k, 1);
    EXPECT_TRUE(QualifiesForHiScore(table, 1, 1));
    EXPECT_EQ(InsertHiScore(table, 1, 1, 1, "new", 0), 1);
    EXPECT_FALSE(QualifiesForHiScore(table, 2, 0));
    EXPECT_EQ(InsertHiScore(table, 2, 1, 1, "new", 0), 1);
}

// Any list as a file may hold it, put in order as loading does, then given a record: what
// the dialog shows empty counts as empty, and no shown entry that the record does not beat
// is pushed out.
TEST(HiScores, ALoadedListKeepsEveryEntryTheRecordDoesNotBeat) {
    std::mt19937 random(11);
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    constexpr std::int32_t kLevels[] = {-7, 0, 1, 5, 8, 9, 128, 1000};
    for (int trial = 0; trial < 3000; ++trial) {
        HiScoreTable table;
        for (std::uint8_t& byte : table.bytes) byte = static_cast<std::uint8_t>(pick(0, 255));
        for (int k = 1; k <= 10; ++k) {
            table.SetFinalLevel(1, k, kLevels[pick(0, 7)]);
            table.SetShownScore(1, k, pick(-3, 40));
        }
        table.SetNewest(1, pick(0, 11));
        const HiScoreTable stored = table;
        SortHiScoreLists(table);

        auto entries = [](const HiScoreTable& t) {
            std::multiset<std::vector<std::uint8_t>> all;
            for (int k = 1; k <= 10; ++k)
                all.insert(std::vector<std::uint8_t>(&t.bytes[40 * (k - 1)], &t.bytes[40 * k]));
            return all;
        };
        ASSERT_EQ(entries(table), entries(stored)) << trial;  // the same entries, moved
        const int newest = stored.ShownNewest(1);
        if (newest != 0) {
            ASSERT_NE(table.ShownNewest(1), 0);
            EXPECT_TRUE(std::equal(&table.bytes[40 * (table.Newest(1) - 1)],
                                   &table.bytes[40 * table.Newest(1)],
                                   &stored.bytes[40 * (newest - 1)]));
        }
        HiScoreTable again = table;
        SortHiScoreLists(again);
        ASSERT_EQ(again.bytes, table.bytes) << trial;  // in order: left as it is

        const int score = pick(-2, 45);
        int shown = 0;
        std::multiset<std::int32_t> unbeaten;
        for (int k = 1; k <= 10; ++k) {
            if (!table.Filled(1, k)) continue;
            ++shown;
            if (std::max(table.ShownScore(1, k), 0) >= score)
                unbeaten.insert(table.ShownScore(1, k));
        }
        const bool qualifies = QualifiesForHiScore(table, 1, score);
        ASSERT_EQ(qualifies, score >= 1 && (shown < 10 || unbeaten.size() < 10u)) << trial;
        if (!qualifies) continue;
        const int position = InsertHiScore(table, 1, score, 1, "new", 0);
        ASSERT_GE(position, 1);
        int shownAfter = 0;
        std::multiset<std::int32_t> kept;
        for (int k = 1; k <= 10; ++k) {
            if (!table.Filled(1, k) || k == position) {
                shownAfter += table.Filled(1, k);
                continue;
            }
            ++shownAfter;
            if (std::max(table.ShownScore(1, k), 0) >= score) kept.insert(table.ShownScore(1, k));
        }
        EXPECT_EQ(shownAfter, std::min(shown + 1, 10)) << trial;
        EXPECT_EQ(kept, unbeaten) << trial;
    }
}

// The game-over sequence judges and inserts the finished game as it stood.
TEST(GameOverRecord, JudgesTheShownScoreInTheModePlayed) {
    HiScoreTable table;
    EXPECT_FALSE(QualifiesForHiScore(table, GameResult{0, 3, 2}));
    EXPECT_TRUE(QualifiesForHiScore(table, GameResult{1, 1, 2}));  // shown 2
    // Shown scores round halves to even: 3 x 1.5 = 4.5 -> 4, 5 x 1.5 = 7.5 -> 8.
    EXPECT_EQ(InsertHiScore(table, GameResult{3, 2, 3}, "a", 1), 1);
    EXPECT_EQ(InsertHiScore(table, GameResult{5, 2, 3}, "b", 1), 1);
    EXPECT_EQ(table.ShownScore(3, 1), ShownScore(5));
    EXPECT_EQ(table.ShownScore(3, 1), 8);
    EXPECT_EQ(table.ShownScore(3, 2), 4);
    EXPECT_EQ(table.Newest(3), 1);
    EXPECT_EQ(table.Newest(1), 0);
    EXPECT_EQ(table.Newest(2), 0);
    // A won game keeps level 128.
    EXPECT_EQ(InsertHiScore(table, GameResult{1000, 128, 1}, "w", 0), 1);
    EXPECT_EQ(table.FinalLevel(1, 1), 128);
    EXPECT_EQ(table.Newest(3), 1);  // the mark of another list stays
    EXPECT_FALSE(QualifiesForHiScore(table, GameResult{1000, 1, 0}));
    EXPECT_EQ(InsertHiScore(table, GameResult{1000, 1, 4}, "x", 0), 0);
}

TEST(GameOverRecord, NamesAreStoredInWindows1251AndCutToTwentyFive) {
    HiScoreTable table;
    InsertHiScore(table, GameResult{100, 1, 1}, "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD", 5);  // Ivan
    EXPECT_EQ(table.Name(1, 1), "\xC8\xE2\xE0\xED");
    EXPECT_EQ(table.Avatar(1, 1), 5);

    std::string cyrillic;  // 26 letters, 52 bytes of UTF-8
    for (int i = 0; i < 26; ++i) cyrillic += "\xD0\xAF";
    InsertHiScore(table, GameResult{90, 1, 1}, cyrillic, 0);
    EXPECT_EQ(table.Name(1, 2), std::string(25, '\xDF'));

    InsertHiScore(table, GameResult{80, 1, 1},
                  "a\xF0\x9F\x98\x80"
                  "b\xE2\x82\xAC",
                  0);
    EXPECT_EQ(table.Name(1, 3), "a?b\x88");  // no emoji in Windows-1251; the euro is 0x88

    InsertHiScore(table, GameResult{70, 1, 1}, "", 0);
    EXPECT_EQ(table.Name(1, 4), "");
    EXPECT_EQ(table.FinalLevel(1, 4), 1);
    EXPECT_TRUE(QualifiesForHiScore(table, GameResult{1, 1, 1}));  // six slots are empty
}

}  // namespace
}  // namespace zonky
