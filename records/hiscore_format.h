// The best-players file as bytes: the 1212-byte table followed by its checksum in the
// 10-byte x87 layout. Pure functions; the file layer reads and writes the bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "records/hiscore_table.h"

namespace zonky {

inline constexpr std::size_t kHiScoreFileSize = HiScoreTable::kSize + 10;  // 1222

enum class HiScoreFileStatus {
    Loaded,       // the table is the file's
    WrongSize,    // not exactly 1222 bytes: the file is to be deleted
    BadChecksum,  // the stored checksum differs by more than 0.001: likewise
};

struct ParsedHiScores {
    HiScoreFileStatus status = HiScoreFileStatus::WrongSize;
    HiScoreTable table;  // all zero unless loaded
};

ParsedHiScores ParseHiScoreFile(std::span<const std::uint8_t> bytes);

using HiScoreFileBytes = std::array<std::uint8_t, kHiScoreFileSize>;
HiScoreFileBytes FormHiScoreFile(const HiScoreTable& table);

}  // namespace zonky
