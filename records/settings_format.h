// The settings file as bytes: four characters "0" or "1", no line end. Pure functions; the
// file layer reads and writes the bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "game/settings.h"

namespace zonky {

inline constexpr std::size_t kSettingsFileSize = 4;

// What a file that cannot be opened gives ("0110").
inline constexpr Settings kDefaultSettings{};

// Offsets 0..3: RotateClockwise, MusicOn, SoundOn, UiLanguage. Only "1" gives 1; any other
// character, or none because the file is shorter, gives 0; bytes after the fourth are ignored.
Settings ParseSettings(std::span<const std::uint8_t> bytes);

// The decimal form of each flag. A flag is on when nonzero (that is how the game reads
// it), so any nonzero value is written "1" and the file always keeps its four characters.
std::array<char, kSettingsFileSize> FormSettings(const Settings& settings);

}  // namespace zonky
