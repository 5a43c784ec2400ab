#include "records/settings_file.h"

#include "records/settings_format.h"

namespace zonky {
namespace {

Settings ReadSettings(const std::string& path, ReadStatus& status) {
    const FileStart start = ReadFileStart(path, kSettingsFileSize);
    status = start.status;
    if (start.status != ReadStatus::Read) return kDefaultSettings;
    return ParseSettings(start.bytes);
}

}  // namespace

Settings LoadSettings(const std::string& path) {
    ReadStatus ignored{};
    return ReadSettings(path, ignored);
}

FileWriteResult SaveSettings(const Settings& settings, const std::string& path) {
    const auto text = FormSettings(settings);
    const std::array<std::uint8_t, kSettingsFileSize> bytes{
        static_cast<std::uint8_t>(text[0]), static_cast<std::uint8_t>(text[1]),
        static_cast<std::uint8_t>(text[2]), static_cast<std::uint8_t>(text[3])};
    return ReplaceFile(path, bytes);
}

Settings SettingsFile::Load() {
    const FileLock lock(path_, FileLock::kSaveWait);
    if (lock.status() == FileLock::Status::Held) RemoveLeftovers(path_, kSettingsFileSize);
    ReadStatus status{};
    const Settings settings = ReadSettings(path_, status);
    unread_ = status == ReadStatus::ReadFailed;
    return settings;
}

FileWriteResult SettingsFile::Save(const Settings& settings) {
    if (unread_)
        return {WriteStatus::Kept,
                "it could not be read when the game started, so it is left as it was",
                WriteFailure::UnreadableAtStart};
    const FileLock lock(path_, FileLock::kSaveWait);
    if (!lock.MaySave()) return lock.Refusal();
    return SaveSettings(settings, path_);
}

}  // namespace zonky
