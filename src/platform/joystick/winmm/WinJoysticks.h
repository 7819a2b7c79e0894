// Joysticks through the multimedia joystick interface (winmm): presence, capabilities, identity
// and state.
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
    // The maker and product ids with the name; winmm tells no serial, node or plugging.
    bool ReadIdentity(int id, PadIdentity& identity) override;
    // Asks every id whether a joystick is there, at most every kRefreshEvery calls: asking an
    // empty id costs the system a look for devices, and this runs every tick while the pad in
    // use is away.
    void RefreshDevices() override;
    // Which ids answered, as the last reading of each found: winmm keeps a pad at its id, so
    // this changes when one comes or goes.
    std::uint64_t DeviceListStamp() override { return present_; }

    static constexpr int kRefreshEvery = 100;

  private:
    struct Opened {
        bool looked = false;
        std::uint16_t maker = 0, product = 0;  // wMid, wPid: the device it was chosen for
        std::optional<RecordScrollAxes> scroll;
    };
    void Mark(int id, bool present);

    std::map<int, Opened> opened_;
    std::uint64_t present_ = 0;
    int refreshCalls_ = 0;
};

}  // namespace vantrel
