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

// The file as one running copy of the game keeps it.
class SettingsFile {
  public:
    explicit SettingsFile(std::string path = kSettingsFileName) : path_(std::move(path)) {}

    // The first show: deletes what killed saves left behind, then reads the settings.
    Settings Load();

    // Saves under the file's lock. A file that was there at the first show but could not
    // be read is never replaced in this run: the save is Kept, to be told like a failure.
    FileWriteResult Save(const Settings& settings);

  private:
    std::string path_;
    bool unread_ = false;
};

}  // namespace zonky
