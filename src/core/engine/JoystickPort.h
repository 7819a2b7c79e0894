// What the engine needs from a joystick library: presence, capabilities and the current state.
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
    // Reads device `id`; false (and `state` untouched) when it cannot be read.
    virtual bool ReadState(int id, JoystickState& state) = 0;
};

}  // namespace vantrel
