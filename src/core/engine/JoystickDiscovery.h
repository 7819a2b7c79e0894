// Finding the joysticks present, reading the chosen one's name and button count, and the
// mouse buttons a first start gives it.
#pragma once

#include "core/engine/JoystickPort.h"
#include "core/settings/Settings.h"

namespace vantrel {

// Device ids asked at start: 0 to kMaxJoystickId inclusive.
inline constexpr int kMaxJoystickId = 10;

// How many of the device ids 0..10 answer; a gap does not stop the count.
int CountJoysticks(JoystickPort& port);

// Fills `caps` for device settings.JoystickId; when that device does not answer, `caps` stays
// exactly as it was.
void ReadJoystickInfo(JoystickPort& port, const Settings& settings, JoystickInfo& caps);

// Without a settings file the mouse buttons are joystick buttons 1, 2 and 3, which on some pads
// are no buttons a finger reaches (one the pad never sends, a trackpad click): a pad with a
// mapping gets its A, B and X instead. Buttons beyond 31, which cannot click, keep the defaults.
void TakeMappedButtons(const JoystickInfo& caps, Settings& settings);

}  // namespace vantrel
