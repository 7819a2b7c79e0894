// Conversions from the multimedia joystick records to the engine's records; a header of their
// own so tests can feed them records that no joystick is needed for.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include "core/engine/JoystickPort.h"

namespace vantrel {

JoyCaps CapsFromRecord(const JOYCAPSA& record);
JoyState StateFromRecord(const JOYINFOEX& record);

}  // namespace vantrel
