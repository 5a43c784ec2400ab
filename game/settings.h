// The four stored settings. The records layer loads and saves them; the game reads them.
#pragma once

#include <cstdint>

namespace zonky {

struct Settings {
    std::uint8_t RotateClockwise = 0;
    std::uint8_t MusicOn = 1;  // stored and edited only: there is no music
    std::uint8_t SoundOn = 1;
    std::uint8_t UiLanguage = 0;  // 0 English, 1 Russian
};

}  // namespace zonky
