// The settings file "ZonkyMos.Ini" in the current directory.
#pragma once

#include <string>

#include "game/settings.h"
#include "records/file_io.h"

namespace zonky {

inline constexpr char kSettingsFileName[] = "ZonkyMos.Ini";

// The settings the file holds, or the defaults ("0110") when it cannot be opened.
// Never creates or changes the file.
Settings LoadSettings(const std::string& path = kSettingsFileName);

// Replaces the file with the four flags. NotCreated is meant to pass silently;
// WriteFailed, with its reason, is for the player to see. Either way the file keeps its
// old content and the settings in memory stay in force.
FileWriteResult SaveSettings(const Settings& settings, const std::string& path = kSettingsFileName);

}  // namespace zonky
