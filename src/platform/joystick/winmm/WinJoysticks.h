// Joysticks through the multimedia joystick interface (winmm): presence, capabilities and state.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "core/engine/JoystickPort.h"
#include "core/engine/MultimediaScrollAxes.h"

namespace vantrel {

class WinJoysticks final : public JoystickPort {
  public:
    // joyGetDevCapsA; of the record the leading 72 bytes (up to wPeriodMax), the capability
    // flags and the axis count are read. The product name comes in the system code page and is
    // handed on as UTF-8; an XInput pad's maker and button count give its Back and Start. The
    // first call for a device also reads it once, to choose its second stick
    // (ScrollAxesOfRecord).
    bool ReadInfo(int id, JoystickInfo& caps) override;
    // joyGetPosEx with all axes, the hat and the buttons; the second stick once ReadInfo chose it.
    bool ReadState(int id, JoystickState& state) override;

  private:
    struct Opened {
        bool looked = false;
        std::uint16_t maker = 0, product = 0;  // wMid, wPid: the device it was chosen for
        std::optional<RecordScrollAxes> scroll;
    };
    std::map<int, Opened> opened_;
};

}  // namespace vantrel
