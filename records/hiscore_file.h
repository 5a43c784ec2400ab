// The best-players file "ZonkyMos.dat" in the current directory, and the steps of the
// game-over sequence that change it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/ports.h"
#include "records/file_io.h"
#include "records/hiscore_table.h"

namespace zonky {

inline constexpr char kHiScoreFileName[] = "ZonkyMos.dat";

enum class HiScoreLoadStatus {
    Loaded,
    NoFile,
    Unopenable,   // there but not readable: left alone
    WrongSize,    // deleted
    BadChecksum,  // deleted
};

struct HiScoreLoad {
    HiScoreTable table;  // all zero unless loaded
    HiScoreLoadStatus status = HiScoreLoadStatus::NoFile;
    bool removed = false;  // a damaged file was deleted
};

// Reads the file without ever opening it for writing. A file of the wrong size or with a
// wrong checksum is deleted and the lists start empty; nothing is reported to the player.
HiScoreLoad LoadHiScores(const std::string& path = kHiScoreFileName);

// Replaces the file with the table and its checksum; the old file stays whole until the
// new one is complete. The game ignores a failure; the result says what happened.
FileWriteResult SaveHiScores(const HiScoreTable& table, const std::string& path = kHiScoreFileName);

struct HiScoreRecord {
    int position = 0;                     // 1..10, 0 when the game does not qualify
    std::optional<FileWriteResult> save;  // empty when nothing was inserted
};

// Inserts a finished game with the name (UTF-8) and avatar the player chose, then saves.
// The table keeps the new entry when the save fails.
HiScoreRecord RecordHiScore(HiScoreTable& table, const GameResult& result,
                            std::string_view playerName, std::int32_t playerAvatar,
                            const std::string& path = kHiScoreFileName);

}  // namespace zonky
