// Joysticks through the multimedia joystick interface (winmm): presence, capabilities and state.
#pragma once

#include "core/engine/JoystickPort.h"

namespace vantrel {

class WinJoysticks final : public JoystickPort {
  public:
    // joyGetDevCapsA; of the record only the leading 72 bytes (up to wPeriodMax) are read. The
    // product name comes in the system code page and is handed on as UTF-8; an XInput pad's
    // maker and button count give its Back and Start.
    bool ReadInfo(int id, JoystickInfo& caps) override;
    // joyGetPosEx with all axes, the hat and the buttons.
    bool ReadState(int id, JoystickState& state) override;
};

}  // namespace vantrel
