// Reading and writing the settings file beside the program: eight lines, then the added
// settings that differ from their defaults (AddedSettings.h).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/settings/Settings.h"

namespace vantrel {

enum class SettingsLoad { Found, Missing };

// Program folder + "Vantrel.ini".
std::filesystem::path SettingsPath(const std::filesystem::path& programFolder);

// Found: `settings` starts from zero / empty and takes every field the file yields; a field that
// cannot be read keeps that start value. Missing: the defaults, with LanguageFile left empty.
SettingsLoad LoadSettings(const std::filesystem::path& file, Settings& settings);

// The same reading applied to the file's bytes.
Settings ParseSettings(std::string_view bytes);

// The eight CR LF lines the file receives, then the added settings' lines.
std::string FormatSettings(const Settings& settings);

// Replaces the file atomically (temporary file in the same folder, then rename). False when it
// could not be written; callers ignore that deliberately: the settings in memory stay in force.
// A successful save also removes temporary files that earlier, interrupted saves left behind.
bool SaveSettings(const std::filesystem::path& file, const Settings& settings);

}  // namespace vantrel
