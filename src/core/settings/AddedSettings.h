// The settings added after the eight lines of Vantrel.ini: one table row each. They follow the
// eighth line as "Name=value" lines, and only those that differ from their defaults, so a file
// saved with all of them at their defaults is the eight lines alone, and an eight-field reader
// never sees them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/Settings.h"

namespace vantrel {

struct AddedSetting {
    const char* name;               // in the file, before the '='
    std::int16_t Settings::*field;  // its default is the field's in a new Settings
    std::int16_t lowest;            // a value outside lowest..highest reads as the default
    std::int16_t highest;
};

inline constexpr AddedSetting kAddedSettings[] = {
    {"ScrollStick", &Settings::ScrollStick, 0, 1},
    {"ScrollSpeed", &Settings::ScrollSpeed, 1, 5},
    {"PauseFirst", &Settings::PauseFirst, kPadsOwnButton, 31},  // 31: kHighestChordButton
    {"PauseSecond", &Settings::PauseSecond, kPadsOwnButton, 31},
};

// The row of `field`, at compile time (a field without a row does not compile).
consteval const AddedSetting& AddedSettingOf(std::int16_t Settings::*field) {
    for (const AddedSetting& row : kAddedSettings)
        if (row.field == field) return row;
    throw "no row in kAddedSettings";
}

// Takes every known "Name=value" line of `lines` (the file after its eighth field); unknown
// names, other lines and values outside a row's range are ignored, the last of two lines wins.
void ReadAddedSettings(std::string_view lines, Settings& settings);

// The CR LF lines for the added settings that differ from their defaults, in table order.
std::string FormatAddedSettings(const Settings& settings);

}  // namespace vantrel
