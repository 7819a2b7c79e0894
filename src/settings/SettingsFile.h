// Reading and writing the eight-line settings file beside the program.
#pragma once

#include <filesystem>

#include "settings/Settings.h"

namespace vantrel {

enum class SettingsLoad { Found, Missing };

// Program folder + "Vantrel.ini".
std::filesystem::path SettingsPath(const std::filesystem::path& programFolder);

// Found: each field read from the file; a field that cannot be read keeps its value in
// `settings`. Missing: the defaults, with LanguageFile left empty.
SettingsLoad LoadSettings(const std::filesystem::path& file, Settings& settings);

// Replaces the file atomically with the eight CR LF lines. False when it could not be written;
// callers ignore that deliberately (the settings in memory stay in force).
bool SaveSettings(const std::filesystem::path& file, const Settings& settings);

}  // namespace vantrel
