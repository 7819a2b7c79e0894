// What the engine needs from a joystick library: presence, capabilities and the current state.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vantrel {

// The leading part of the capability record. Only szPname and wNumButtons are used.
struct JoyCaps {
    std::uint16_t wMid = 0;
    std::uint16_t wPid = 0;
    std::array<char, 32> szPname{};  // name, ended and padded with NUL
    std::uint32_t wXmin = 0, wXmax = 0;
    std::uint32_t wYmin = 0, wYmax = 0;
    std::uint32_t wZmin = 0, wZmax = 0;
    std::uint32_t wNumButtons = 0;
    std::uint32_t wPeriodMin = 0, wPeriodMax = 0;

    // The name up to its first NUL.
    std::string Name() const;
    // Stores `name` cut to 31 bytes (on a UTF-8 character boundary), padded with NUL.
    void SetName(std::string_view name);
};

// One reading of a joystick: main axes on the 0..65535 scale (rest near 32767) and the
// button mask, bit n-1 for button n.
struct JoyState {
    std::uint32_t x = 32767;
    std::uint32_t y = 32767;
    std::uint32_t buttons = 0;
};

class JoystickPort {
public:
    virtual ~JoystickPort() = default;
    // Fills `caps` for device `id` and returns true when it is present; leaves `caps`
    // untouched and returns false otherwise.
    virtual bool ReadCaps(int id, JoyCaps& caps) = 0;
    // Reads device `id`; false (and `state` untouched) when it cannot be read.
    virtual bool ReadState(int id, JoyState& state) = 0;
};

}  // namespace vantrel
