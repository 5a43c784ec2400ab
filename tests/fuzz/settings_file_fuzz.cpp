// Any bytes in the place of the settings file: each setting is 1 exactly when its
// character is "1", and what is written back reads as the same settings.
#include <cstdint>
#include <span>

#include "records/settings_format.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zonky::Require;
    const std::span<const std::uint8_t> bytes(data, size);
    const zonky::Settings s = zonky::ParseSettings(bytes);
    const std::uint8_t flags[] = {s.RotateClockwise, s.MusicOn, s.SoundOn, s.UiLanguage};
    const auto text = zonky::FormSettings(s);
    for (std::size_t i = 0; i < zonky::kSettingsFileSize; ++i) {
        const bool one = i < size && data[i] == '1';
        Require(flags[i] == (one ? 1 : 0), "a setting is not what its character says");
        Require(text[i] == (one ? '1' : '0'), "written back differently");
    }
    const std::uint8_t* written = reinterpret_cast<const std::uint8_t*>(text.data());
    const zonky::Settings again = zonky::ParseSettings({written, text.size()});
    Require(again.RotateClockwise == s.RotateClockwise && again.MusicOn == s.MusicOn &&
                again.SoundOn == s.SoundOn && again.UiLanguage == s.UiLanguage,
            "written settings read back differently");
    return 0;
}
