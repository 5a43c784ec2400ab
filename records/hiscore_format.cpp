#include "records/hiscore_format.h"

#include <algorithm>

#include "records/hiscore_checksum.h"

namespace zonky {

ParsedHiScores ParseHiScoreFile(std::span<const std::uint8_t> bytes) {
    ParsedHiScores parsed;
    if (bytes.size() != kHiScoreFileSize) return parsed;

    HiScoreTable table;
    std::copy_n(bytes.begin(), HiScoreTable::kSize, table.bytes.begin());
    ExtendedBytes stored{};
    std::copy_n(bytes.begin() + HiScoreTable::kSize, kExtendedSize, stored.begin());
    if (!ChecksumMatches(HiScoreChecksum(table), DecodeExtended(stored))) {
        parsed.status = HiScoreFileStatus::BadChecksum;
        return parsed;
    }
    parsed.status = HiScoreFileStatus::Loaded;
    parsed.table = table;
    return parsed;
}

HiScoreFileBytes FormHiScoreFile(const HiScoreTable& table) {
    HiScoreFileBytes out{};
    std::copy(table.bytes.begin(), table.bytes.end(), out.begin());
    const ExtendedBytes sum = EncodeExtended(HiScoreChecksum(table));
    std::copy(sum.begin(), sum.end(), out.begin() + HiScoreTable::kSize);
    return out;
}

}  // namespace zonky
