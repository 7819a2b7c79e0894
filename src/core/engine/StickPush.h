// Which way a stick reading pushes the pointer: each axis pushed past its end, or, for a stick
// with a round gate whose axes never both reach their ends, the nearest of eight directions once
// the stick is at its edge.
#pragma once

#include <cstdint>

namespace vantrel {

// -1, 0 or +1 per axis: left / up, none, right / down.
struct StickPush {
    std::int8_t x = 0;
    std::int8_t y = 0;
    bool Moves() const { return x != 0 || y != 0; }
};

// The dead zone of one axis, inclusive at both ends.
inline constexpr std::int32_t kDeadZoneLow = 150;
inline constexpr std::int32_t kDeadZoneHigh = 63850;

StickPush PushFromAxes(std::int32_t x, std::int32_t y);

}  // namespace vantrel
