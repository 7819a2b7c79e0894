#include "core/engine/StickPush.h"

#include <cstdlib>

namespace vantrel {

namespace {

std::int8_t AxisPush(std::int32_t value) {
    if (value < kDeadZoneLow) return -1;
    if (value > kDeadZoneHigh) return 1;
    return 0;
}

}  // namespace

StickPush PushFromAxes(std::int32_t x, std::int32_t y) {
    StickPush push{AxisPush(x), AxisPush(y)};
    if (push.Moves()) return push;

    // Both axes are inside the dead zone. A round gate holds a fully pushed stick at 45 degrees
    // near 0.71 of each axis's travel, so look at the distance from the centre instead: the
    // stick is at its edge when it is at least as far out as the least push past the high end
    // of an axis. In half-units (twice the value minus the full range) the centre is 0 and all
    // is integer.
    constexpr std::int64_t kRange = 65535;
    constexpr std::int64_t kEdge = 2 * (std::int64_t{kDeadZoneHigh} + 1) - kRange;
    const std::int64_t dx = 2 * std::int64_t{x} - kRange;
    const std::int64_t dy = 2 * std::int64_t{y} - kRange;
    if (dx * dx + dy * dy < kEdge * kEdge) return push;

    // Eight 45-degree sectors around the axes and the diagonals: an axis takes part unless the
    // stick is within 22.5 degrees of the other axis.
    constexpr double kTan22 = 0.41421356237309503;  // tan(22.5 degrees), sqrt(2) - 1
    const double ax = static_cast<double>(std::llabs(dx));
    const double ay = static_cast<double>(std::llabs(dy));
    if (ax > ay * kTan22) push.x = dx < 0 ? -1 : 1;
    if (ay > ax * kTan22) push.y = dy < 0 ? -1 : 1;
    return push;
}

}  // namespace vantrel
