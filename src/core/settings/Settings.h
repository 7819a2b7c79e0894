// The user's configuration: one record per run, shared by the engine, the dialogs and start-up.
#pragma once

#include <cstdint>
#include <string>

namespace vantrel {

// A pause-chord button that is whatever the pad's own layout puts there.
inline constexpr std::int16_t kPadsOwnButton = -1;

// Field widths follow the settings file: 16-bit numbers, two texts. Zero / empty until loaded.
struct Settings {
    std::int16_t LeftButton = 0;    // joystick button (from 1) acting as the left mouse button
    std::int16_t RightButton = 0;   // ... as the right mouse button
    std::int16_t MiddleButton = 0;  // ... as the middle mouse button
    std::string PointerSpeed;       // decimal text, period as separator
    std::int16_t Acceleration = 0;  // 1 = on
    std::int16_t StartAtLogon = 0;  // 1 = start at logon
    std::int16_t JoystickId = 0;    // device id from 0
    std::string LanguageFile;       // file name inside Lang/

    // Added after the eight lines (AddedSettings.h): these start at their defaults, also in a
    // file that does not name them.
    std::int16_t ScrollStick = 1;  // 1 = the second stick scrolls
    std::int16_t ScrollSpeed = 3;  // 1 (slowest) .. 5
    // The two buttons of the pause chord: kPadsOwnButton (the pad's own Back, then Start),
    // 0 for none, or a joystick button 1..31.
    std::int16_t PauseFirst = kPadsOwnButton;
    std::int16_t PauseSecond = kPadsOwnButton;

    bool operator==(const Settings&) const = default;
};

// The values in force when no settings file exists.
Settings DefaultSettings();

}  // namespace vantrel
