// The best-players file "ZonkyMos.dat" in the current directory, and the steps of the
// game-over sequence that change it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/ports.h"
#include "records/file_io.h"
#include "records/hiscore_table.h"

namespace zonky {

inline constexpr char kHiScoreFileName[] = "ZonkyMos.dat";

enum class HiScoreLoadStatus {
    Loaded,
    NoFile,
    Unopenable,   // there but no regular file: left alone
    Unreadable,   // a file that could not be read: left alone, its records unknown
    WrongSize,    // deleted
    BadChecksum,  // deleted
};

struct HiScoreLoad {
    HiScoreTable table;  // all zero unless loaded
    HiScoreLoadStatus status = HiScoreLoadStatus::NoFile;
    bool removed = false;  // a damaged file was deleted
};

// Reads the file without ever opening it for writing. A file of the wrong size or with a
// wrong checksum is deleted, under the file's lock only, and the lists start empty; nothing
// is reported to the player. A damaged file reached through a link is deleted at the end of
// the link, which stays.
// Lists stored out of order are put in order.
HiScoreLoad LoadHiScores(const std::string& path = kHiScoreFileName);

// Replaces the file with the table and its checksum; the old file stays whole until the
// new one is complete. The game ignores a failure; the result says what happened.
FileWriteResult SaveHiScores(const HiScoreTable& table, const std::string& path = kHiScoreFileName);

struct HiScoreRecord {
    int position = 0;                     // 1..10, 0 when the game does not qualify
    std::optional<FileWriteResult> save;  // empty when nothing was inserted
};

// The file as one running copy of the game keeps it. Other copies in the same folder save
// into it too, so each record is merged into what the file holds at that moment.
class HiScoreFile {
  public:
    explicit HiScoreFile(std::string path = kHiScoreFileName) : path_(std::move(path)) {}

    // The first show: deletes what killed saves left behind, then loads the lists.
    HiScoreLoad Load();

    // Inserts a finished game with the name (UTF-8) and avatar the player chose, and saves.
    // Under the file's lock the file is read again; when it is whole, the game (with any
    // earlier one no save has stored yet) goes into the lists read from it, the merged
    // lists are written and become `table`, so the records other copies saved are kept and
    // shown. A missing or damaged file is replaced with `table` and the new entry. A file
    // that cannot be read now, or could not be at the first show and is not whole now, is
    // left as it is. `table` keeps the new entry whatever the save does. The position is
    // where the game stands in `table` afterwards, 0 when it is not there.
    HiScoreRecord Record(HiScoreTable& table, const GameResult& result, std::string_view playerName,
                         std::int32_t playerAvatar);

    // Tries again to save the results in `table` that no save has stored yet, as `Record`
    // does; empty when there are none.
    std::optional<FileWriteResult> SavePending(HiScoreTable& table);
    // How many results are in the table but not in the file.
    int Pending() const { return static_cast<int>(unsaved_.size()); }
    const std::string& path() const { return path_; }

  private:
    struct Result {
        int mode;
        std::int64_t shownScore;
        std::int32_t level;
        std::string name;  // stored bytes
        std::int32_t avatar;
    };
    static int Insert(HiScoreTable& table, const Result& result);
    FileWriteResult Save(HiScoreTable& table, int& position);

    std::string path_;
    bool unread_ = false;          // there at the first show, but could not be read
    std::vector<Result> unsaved_;  // in the table, not yet in the file
};

}  // namespace zonky
