#include "records/hiscore_file.h"

#include "records/hiscore_format.h"

namespace zonky {

HiScoreLoad LoadHiScores(const std::string& path) {
    HiScoreLoad load;
    // One byte more than a good file tells a longer file without reading all of it.
    const FileStart start = ReadFileStart(path, kHiScoreFileSize + 1);
    switch (start.status) {
        case ReadStatus::Read:
            break;
        case ReadStatus::Missing:
            load.status = HiScoreLoadStatus::NoFile;
            return load;
        case ReadStatus::Unopenable:
        case ReadStatus::ReadFailed:
            load.status = HiScoreLoadStatus::Unopenable;
            return load;
    }

    const ParsedHiScores parsed = ParseHiScoreFile(start.bytes);
    switch (parsed.status) {
        case HiScoreFileStatus::Loaded:
            load.status = HiScoreLoadStatus::Loaded;
            load.table = parsed.table;
            return load;
        case HiScoreFileStatus::WrongSize:
            load.status = HiScoreLoadStatus::WrongSize;
            break;
        case HiScoreFileStatus::BadChecksum:
            load.status = HiScoreLoadStatus::BadChecksum;
            break;
    }
    load.removed = RemoveFile(path);
    return load;
}

FileWriteResult SaveHiScores(const HiScoreTable& table, const std::string& path) {
    return ReplaceFile(path, FormHiScoreFile(table));
}

HiScoreRecord RecordHiScore(HiScoreTable& table, const GameResult& result,
                            std::string_view playerName, std::int32_t playerAvatar,
                            const std::string& path) {
    HiScoreRecord record;
    record.position = InsertHiScore(table, result, playerName, playerAvatar);
    if (record.position != 0) record.save = SaveHiScores(table, path);
    return record;
}

}  // namespace zonky
