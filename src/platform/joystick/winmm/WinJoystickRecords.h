// Conversions from the multimedia joystick records to the engine's records; a header of their
// own so tests can feed them records that no joystick is needed for.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include "core/engine/JoystickPort.h"

namespace vantrel {

JoystickInfo CapsFromRecord(const JOYCAPSA& record);
JoystickState StateFromRecord(const JOYINFOEX& record);

}  // namespace vantrel
