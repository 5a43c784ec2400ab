#include "records/hiscore_format.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "records/hiscore_checksum.h"

namespace zonky {
namespace {

HiScoreTable SomeResults() {
    HiScoreTable table;
    InsertHiScore(table, 1, 3000, 4, "Ann", 3);
    InsertHiScore(table, 2, 120, 128, "\xC8\xE2\xE0\xED", 24);  // "Ivan" in Windows-1251
    InsertHiScore(table, 3, 1, 1, "", 0);
    return table;
}

TEST(HiScoreFileBytes, AFormedFileIsTheTableThenItsChecksum) {
    const HiScoreTable table = SomeResults();
    const HiScoreFileBytes file = FormHiScoreFile(table);
    ASSERT_EQ(file.size(), 1222u);
    EXPECT_TRUE(std::equal(table.bytes.begin(), table.bytes.end(), file.begin()));
    const ExtendedBytes sum = EncodeExtended(HiScoreChecksum(table));
    EXPECT_TRUE(std::equal(sum.begin(), sum.end(), file.begin() + 1212));

    const ParsedHiScores back = ParseHiScoreFile(file);
    EXPECT_EQ(back.status, HiScoreFileStatus::Loaded);
    EXPECT_EQ(back.table.bytes, table.bytes);
}

TEST(HiScoreFileBytes, TheStoredChecksumIsComparedWithinOneThousandth) {
    const HiScoreFileBytes good = FormHiScoreFile(SomeResults());
    auto withFlip = [&](std::size_t byte, int bit) {
        HiScoreFileBytes file = good;
        file[1212 + byte] ^= static_cast<std::uint8_t>(1u << bit);
        return ParseHiScoreFile(file).status;
    };
    // The checksum is about 2.6e6 (2^21): significand bit k weighs 2^(k - 42), so the low
    // bits lie inside the tolerance of 0.001 and the high ones, sign and exponent do not.
    EXPECT_EQ(withFlip(0, 0), HiScoreFileStatus::Loaded);
    EXPECT_EQ(withFlip(3, 7), HiScoreFileStatus::Loaded);       // bit 31: 2^-11
    EXPECT_EQ(withFlip(4, 1), HiScoreFileStatus::BadChecksum);  // bit 33: 2^-9
    EXPECT_EQ(withFlip(7, 6), HiScoreFileStatus::BadChecksum);
    EXPECT_EQ(withFlip(7, 7), HiScoreFileStatus::BadChecksum);  // the integer bit
    EXPECT_EQ(withFlip(8, 0), HiScoreFileStatus::BadChecksum);
    EXPECT_EQ(withFlip(9, 7), HiScoreFileStatus::BadChecksum);  // the sign
}

}  // namespace
}  // namespace zonky
