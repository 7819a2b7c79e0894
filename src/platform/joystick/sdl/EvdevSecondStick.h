// Which axes of a Linux joystick without a game-controller mapping are its second stick, from
// the absolute axes its evdev node declares, and how SDL numbers those axes.
#pragma once

#include <array>
#include <bitset>
#include <string>
#include <vector>

namespace vantrel {

// The absolute axis codes an evdev node declares (ABS_X = 0 .. ABS_MAX = 0x3f).
using AbsoluteAxes = std::bitset<64>;

// What EVIOCGBIT says of the node at `path`; none when it is no evdev node or cannot be read.
AbsoluteAxes AbsoluteAxesOfNode(const std::string& path);

// SDL numbers a node's absolute axes in code order, from 0, leaving out the hats; so below
// ABS_HAT0X an axis's number is the count of axes the node declares below its code. -1 for a
// code the node lacks or that lies among or past the hats.
int SdlAxisOfCode(const AbsoluteAxes& axes, int code);
// The other way: the code of SDL's axis `axis`, or -1 when that is no axis below the hats.
int CodeOfSdlAxis(const AbsoluteAxes& axes, int axis);

// One pair of axes that may be a second stick: evdev codes and SDL's axis numbers, x then y.
struct StickAxes {
    std::array<int, 2> codes;
    std::array<int, 2> sdlAxes;
};

// The pairs to try, best first: ABS_RX / ABS_RY (xpad, hid-playstation, hid-nintendo), then
// ABS_Z / ABS_RZ (generic HID pads, older hid-sony), each only when the node has both. Which one
// is a stick rather than two triggers only the values at rest can tell: the caller checks them.
std::vector<StickAxes> SecondStickCandidates(const AbsoluteAxes& axes);

}  // namespace vantrel
