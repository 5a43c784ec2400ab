// Any bytes in the place of the best-players file: the parser decides without reading out
// of bounds, refuses all but good 1222-byte files, and whatever a table holds reads and
// takes an insertion safely (a checksum guards against damage, not against edits).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>

#include "records/hiscore_checksum.h"
#include "records/hiscore_format.h"
#include "records/hiscore_table.h"
#include "tests/fuzz/fuzz_check.h"

namespace zonky {
namespace {

void CheckParse(std::span<const std::uint8_t> bytes) {
    const ParsedHiScores parsed = ParseHiScoreFile(bytes);
    if (bytes.size() != kHiScoreFileSize)
        Require(parsed.status == HiScoreFileStatus::WrongSize, "wrong size accepted");
    if (parsed.status != HiScoreFileStatus::Loaded) {
        Require(parsed.table.bytes == HiScoreTable::Bytes{}, "refused file left lists");
        return;
    }
    Require(std::equal(parsed.table.bytes.begin(), parsed.table.bytes.end(), bytes.begin()),
            "loaded table differs from the file");
    const HiScoreFileBytes again = FormHiScoreFile(parsed.table);
    Require(ParseHiScoreFile(again).status == HiScoreFileStatus::Loaded,
            "a re-formed file does not load");
}

// Canonical encodings decode and encode back to the same bytes.
void CheckExtended(std::span<const std::uint8_t> tail) {
    ExtendedBytes stored{};
    std::copy(tail.begin(), tail.end(), stored.begin());
    const long double value = DecodeExtended(stored);
    const int exponent = (stored[8] | stored[9] << 8) & 0x7FFF;
    const bool integerBit = (stored[7] & 0x80) != 0;
    const bool canonical = exponent == 0 ? !integerBit : integerBit;
    if (std::isnan(value) || !canonical) return;
    Require(EncodeExtended(value) == stored, "extended value does not round-trip");
}

void CheckTable(std::span<const std::uint8_t> bytes) {
    HiScoreTable table;
    std::copy_n(bytes.begin(), HiScoreTable::kSize, table.bytes.begin());
    for (int mode = 1; mode <= HiScoreTable::kLists; ++mode) {
        const int newest = table.ShownNewest(mode);
        Require(newest >= 0 && newest <= HiScoreTable::kEntries, "newest out of range");
        for (int k = 1; k <= HiScoreTable::kEntries; ++k) {
            Require(table.Name(mode, k).size() <= HiScoreTable::kNameMax, "name too long");
            const int avatar = table.ShownAvatar(mode, k);
            Require(avatar >= -1 && avatar < HiScoreTable::kAvatarCount, "avatar out of range");
        }
    }
    const int mode = 1 + bytes[0] % HiScoreTable::kLists;
    const std::int64_t score = static_cast<std::int64_t>(bytes[1]) << 24 | bytes[2] << 8;
    const bool qualifies = QualifiesForHiScore(table, mode, score);
    // What the dialog shows empty (level 0 or less) is room for any record.
    bool emptySlot = false;
    for (int k = 1; k <= HiScoreTable::kEntries; ++k) emptySlot |= !table.Filled(mode, k);
    if (emptySlot && score >= 1) Require(qualifies, "an entry shown empty blocks a record");
    const int position = InsertHiScore(table, mode, score, 3, "fuzz", 1);
    if (!qualifies) {
        Require(position == 0, "inserted a score that beats no entry");
        return;
    }
    Require(position >= 1 && position <= HiScoreTable::kEntries, "position out of range");
    // Scores beyond 32 bits are stored at the largest one.
    const std::int64_t stored =
        std::min<std::int64_t>(score, std::numeric_limits<std::int32_t>::max());
    Require(table.ShownScore(mode, position) == stored, "score not stored");
    Require(table.Newest(mode) == position, "newest not marked");
    for (int k = 1; k < position; ++k)
        Require(table.ShownScore(mode, k) >= stored, "inserted ahead of an equal or higher score");
}

}  // namespace
}  // namespace zonky

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    zonky::CheckParse(bytes);
    if (size >= zonky::kExtendedSize)
        zonky::CheckExtended(bytes.subspan(size - zonky::kExtendedSize));
    if (size >= zonky::HiScoreTable::kSize) zonky::CheckTable(bytes);
    return 0;
}
