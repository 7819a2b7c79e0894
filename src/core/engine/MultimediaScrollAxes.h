// Which axes of a Windows multimedia joystick record (joyGetDevCaps, joyGetPosEx) are the pad's
// second stick: a rule on plain values, so that it is tested without Windows.
#pragma once

#include <cstdint>
#include <optional>

namespace vantrel {

// The record's axes beyond X and Y that a second stick can be on.
enum class RecordAxis : std::uint8_t { Z, R, U };

// What the record says of them: whether the capabilities have each (JOYCAPS_HASZ, _HASR,
// _HASU), how many axes there are in all (wNumAxes) and the reading when the joystick was
// opened.
struct RecordAxesAtOpen {
    bool hasZ = false, hasR = false, hasU = false;
    unsigned axisCount = 2;
    std::uint32_t z = 32767, r = 32767, u = 32767;
};

struct RecordScrollAxes {
    RecordAxis horizontal, vertical;
    bool operator==(const RecordScrollAxes&) const = default;
};

// The second stick, or none. Winmm shows an XInput pad (Xbox, and pads in their XInput mode) with
// five axes: X/Y the left stick, U/R the right stick's X/Y (HID Rx/Ry) and Z both triggers on one
// axis, which rests at its middle like a stick; a pad whose right stick is HID Rx/Ry without Z (a
// Switch Pro) has U/R alone. So a U on a record of at most five axes is taken as the XInput
// layout: the stick is U/R, and Z is never taken, even when U is not at rest. Otherwise the
// stick is Z/R, where DirectInput pads (PlayStation, 8BitDo and others in their DirectInput mode)
// have it, on HID Z and Rz; their U and V (HID Rx, Ry) are the triggers of a six-axis pad (a
// DualShock 4's L2 and R2). Either way a stick out of the scroll dead zone when the joystick was
// opened (a trigger or a throttle resting at one end) is never taken: then there is none.
std::optional<RecordScrollAxes> ScrollAxesOfRecord(const RecordAxesAtOpen& record);

}  // namespace vantrel
