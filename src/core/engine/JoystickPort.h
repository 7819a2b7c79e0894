// What the engine needs from a joystick library: presence, capabilities, who each device is, the
// changes of the device list and the current state.
#pragma once

#include <cstdint>

#include "core/engine/JoystickInfo.h"

namespace vantrel {

// One reading of a joystick: main axes on the 0..65535 scale (rest near 32767), the button
// mask, bit n-1 for button n, and the second stick on the same scale (at rest on a joystick
// without one, JoystickInfo::hasScrollStick).
struct JoystickState {
    std::uint32_t x = 32767;
    std::uint32_t y = 32767;
    std::uint32_t buttons = 0;
    std::uint32_t scrollX = 32767;
    std::uint32_t scrollY = 32767;
};

class JoystickPort {
  public:
    virtual ~JoystickPort() = default;
    // Fills `caps` for device `id` and returns true when it is present; leaves `caps`
    // untouched and returns false otherwise.
    virtual bool ReadInfo(int id, JoystickInfo& caps) = 0;
    // Reads device `id`; false (and `state` untouched) when it cannot be read. Takes in the
    // devices plugged in or out since the last call, as RefreshDevices does.
    virtual bool ReadState(int id, JoystickState& state) = 0;
    // Fills `identity` for device `id` and returns true when it is present.
    virtual bool ReadIdentity(int id, PadIdentity& identity) = 0;
    // Takes in the devices plugged in or out since the last call or reading, for a caller that
    // reads no device.
    virtual void RefreshDevices() = 0;
    // As of the last reading or refresh: a number that differs whenever the list of devices
    // differs from the one it last described. While it stays, every device keeps its id. Cheap
    // enough for every tick.
    virtual std::uint64_t DeviceListStamp() = 0;
};

}  // namespace vantrel
