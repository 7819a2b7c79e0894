// Conversions from the multimedia joystick records to the engine's records; a header of their
// own so tests can feed them records that no joystick is needed for.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <optional>

#include "core/engine/JoystickPort.h"
#include "core/engine/MultimediaScrollAxes.h"

namespace vantrel {

JoystickInfo CapsFromRecord(const JOYCAPSA& record);
// The maker and product ids in hexadecimal, then the name: all winmm tells of who a pad is.
PadIdentity IdentityFromRecord(const JOYCAPSA& record);
// What the capabilities and the first reading say of the axes a second stick can be on.
RecordAxesAtOpen AxesAtOpen(const JOYCAPSA& caps, const JOYINFOEX& reading);
// The reading, with the second stick from `scroll` (at rest without one).
JoystickState StateFromRecord(const JOYINFOEX& record,
                              const std::optional<RecordScrollAxes>& scroll = std::nullopt);

}  // namespace vantrel
