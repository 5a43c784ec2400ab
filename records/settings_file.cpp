#include "records/settings_file.h"

#include "records/settings_format.h"

namespace zonky {

Settings LoadSettings(const std::string& path) {
    const FileStart start = ReadFileStart(path, kSettingsFileSize);
    if (start.status != ReadStatus::Read) return kDefaultSettings;
    return ParseSettings(start.bytes);
}

FileWriteResult SaveSettings(const Settings& settings, const std::string& path) {
    const auto text = FormSettings(settings);
    const std::array<std::uint8_t, kSettingsFileSize> bytes{
        static_cast<std::uint8_t>(text[0]), static_cast<std::uint8_t>(text[1]),
        static_cast<std::uint8_t>(text[2]), static_cast<std::uint8_t>(text[3])};
    return ReplaceFile(path, bytes);
}

}  // namespace zonky
