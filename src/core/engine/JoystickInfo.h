// What a joystick tells of itself: its name, as the system reports it, its button count, and
// which of its buttons a game-controller mapping knows as A, B, X, Back and Start, and whether it
// has a second stick to scroll with; and who it is, so that a pad is known again when it comes
// back.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vantrel {

struct JoystickInfo {
    std::string name;  // UTF-8, whole: the options dialog's title tells pads apart by it
    std::uint32_t buttonCount = 0;
    // The joystick buttons (from 1) at A, B and X, where the thumb rests; all 0 when the
    // joystick library has no mapping for the pad.
    std::array<std::int16_t, 3> mappedButtons{};
    // The buttons at Back and Start, the pad's own pause chord; 0 where its layout is unknown.
    std::array<std::int16_t, 2> backStartButtons{};
    // True when the joystick has a second stick that rested at its centre when it was opened:
    // only then do JoystickState's scroll axes move.
    bool hasScrollStick = false;
};

// Who a device is. The model and the serial stay when a pad is unplugged and plugged back (or
// sleeps and wakes); the node and the plugging tell apart two pads of one model while both are
// there. Empty texts where the library knows nothing.
struct PadIdentity {
    std::string model;   // the library's GUID text: bus, maker, product, version
    std::string serial;  // where the pad reports one
    std::string path;    // the node the device is read from
    // A number new each time a device is plugged in (the same while it stays); -1 unknown.
    std::int64_t plugging = -1;

    bool operator==(const PadIdentity&) const = default;
};

}  // namespace vantrel
