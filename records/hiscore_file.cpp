#include "records/hiscore_file.h"

#include "game/game.h"
#include "records/hiscore_format.h"
#include "records/name_codec.h"

namespace zonky {
namespace {

// One byte more than a good file tells a longer file without reading all of it.
constexpr std::size_t kReadLimit = kHiScoreFileSize + 1;

struct DiskLists {
    HiScoreLoadStatus status = HiScoreLoadStatus::NoFile;
    HiScoreTable table;
};

DiskLists ReadHiScores(const std::string& path) {
    DiskLists disk;
    const FileStart start = ReadFileStart(path, kReadLimit);
    switch (start.status) {
        case ReadStatus::Read:
            break;
        case ReadStatus::Missing:
            disk.status = HiScoreLoadStatus::NoFile;
            return disk;
        case ReadStatus::Unopenable:
            disk.status = HiScoreLoadStatus::Unopenable;
            return disk;
        case ReadStatus::ReadFailed:
            disk.status = HiScoreLoadStatus::Unreadable;
            return disk;
    }
    const ParsedHiScores parsed = ParseHiScoreFile(start.bytes);
    switch (parsed.status) {
        case HiScoreFileStatus::Loaded:
            disk.status = HiScoreLoadStatus::Loaded;
            disk.table = parsed.table;
            SortHiScoreLists(disk.table);
            break;
        case HiScoreFileStatus::WrongSize:
            disk.status = HiScoreLoadStatus::WrongSize;
            break;
        case HiScoreFileStatus::BadChecksum:
            disk.status = HiScoreLoadStatus::BadChecksum;
            break;
    }
    return disk;
}

bool Damaged(HiScoreLoadStatus status) {
    return status == HiScoreLoadStatus::WrongSize || status == HiScoreLoadStatus::BadChecksum;
}

// A damaged file is deleted only under its lock: without it, the file may be another copy's
// new one, complete a moment later.
HiScoreLoad LoadLocked(const std::string& path, const FileLock& lock) {
    const DiskLists disk = ReadHiScores(path);
    HiScoreLoad load;
    load.status = disk.status;
    load.table = disk.table;
    if (Damaged(disk.status) && lock.status() == FileLock::Status::Held)
        load.removed = RemoveFile(path);
    return load;
}

}  // namespace

HiScoreLoad LoadHiScores(const std::string& path) {
    const FileLock lock(path, FileLock::kSaveWait);
    return LoadLocked(path, lock);
}

FileWriteResult SaveHiScores(const HiScoreTable& table, const std::string& path) {
    return ReplaceFile(path, FormHiScoreFile(table));
}

HiScoreLoad HiScoreFile::Load() {
    // Under the lock, so that no copy is part-way through a save: its temporary file is
    // not taken for a leftover, nor its new file deleted for the damage of the old one.
    const FileLock lock(path_, FileLock::kSaveWait);
    if (lock.status() == FileLock::Status::Held) RemoveLeftovers(path_, kHiScoreFileSize);
    HiScoreLoad load = LoadLocked(path_, lock);
    unread_ = load.status == HiScoreLoadStatus::Unreadable;
    unsaved_.clear();
    return load;
}

int HiScoreFile::Insert(HiScoreTable& table, const Result& result) {
    return InsertHiScore(table, result.mode, result.shownScore, result.level, result.name,
                         result.avatar);
}

HiScoreRecord HiScoreFile::Record(HiScoreTable& table, const GameResult& result,
                                  std::string_view playerName, std::int32_t playerAvatar) {
    HiScoreRecord record;
    Result game{result.GameMode, ShownScore(result.Score), result.Level, Utf8ToCp1251(playerName),
                playerAvatar};
    record.position = Insert(table, game);
    if (record.position == 0) return record;
    unsaved_.push_back(std::move(game));
    record.save = Save(table, record.position);
    return record;
}

std::optional<FileWriteResult> HiScoreFile::SavePending(HiScoreTable& table) {
    if (unsaved_.empty()) return std::nullopt;
    int position = 0;
    return Save(table, position);
}

// `table` holds every unsaved result. When the file is whole, `table` becomes its lists with
// the unsaved results inserted, and `position` the last one's place there.
FileWriteResult HiScoreFile::Save(HiScoreTable& table, int& position) {
    const FileLock lock(path_, FileLock::kSaveWait);
    if (!lock.MaySave()) return lock.Refusal();
    const DiskLists disk = ReadHiScores(path_);
    if (disk.status == HiScoreLoadStatus::Unreadable)
        return {WriteStatus::Kept, "the file there could not be read", WriteFailure::Unreadable};
    if (disk.status == HiScoreLoadStatus::Loaded) {
        HiScoreTable merged = disk.table;
        for (const Result& result : unsaved_) position = Insert(merged, result);
        table = merged;
    } else if (unread_ && Damaged(disk.status)) {
        return {WriteStatus::Kept, "the file could not be read when the game started",
                WriteFailure::UnreadableAtStart};
    }
    FileWriteResult saved = SaveHiScores(table, path_);
    if (saved.Written()) {
        unsaved_.clear();
        unread_ = false;
    }
    return saved;
}

}  // namespace zonky
