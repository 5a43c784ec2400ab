#include "records/settings_format.h"

namespace zonky {
namespace {

std::uint8_t FlagAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    return at < bytes.size() && bytes[at] == '1' ? 1 : 0;
}

char FlagCharacter(std::uint8_t flag) {
    return flag != 0 ? '1' : '0';
}

}  // namespace

Settings ParseSettings(std::span<const std::uint8_t> bytes) {
    Settings s;
    s.RotateClockwise = FlagAt(bytes, 0);
    s.MusicOn = FlagAt(bytes, 1);
    s.SoundOn = FlagAt(bytes, 2);
    s.UiLanguage = FlagAt(bytes, 3);
    return s;
}

std::array<char, kSettingsFileSize> FormSettings(const Settings& settings) {
    return {FlagCharacter(settings.RotateClockwise), FlagCharacter(settings.MusicOn),
            FlagCharacter(settings.SoundOn), FlagCharacter(settings.UiLanguage)};
}

}  // namespace zonky
