// Finding the joysticks present and reading the chosen one's name and button count.
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

}  // namespace vantrel
