#include "core/engine/StickScroll.h"

#include <algorithm>
#include <cmath>

#include "core/engine/StickPush.h"

namespace vantrel {

namespace {

// Distances from the centre in half-units (twice the value minus the full range), so the
// centre is 0 and the half-range 65535.
constexpr double kHalfRange = 65535.0;
// A fifth of the half-range, the same in every direction: a stick that drifts never scrolls.
constexpr double kDeadZone = kHalfRange / 5.0;
// Full push where the pointer's stick counts as at its edge: worn sticks and round gates never
// reach the end of both axes.
constexpr double kFullPush = 2.0 * (kDeadZoneHigh + 1) - kHalfRange;

double HalfUnits(std::uint32_t value) {
    return 2.0 * static_cast<double>(std::min<std::uint32_t>(value, 65535)) - kHalfRange;
}

constexpr std::int64_t kFraction = 65536;  // the accumulators' steps in a unit

// A tick's share in 65536ths, rounded away from zero: what rounding costs is then a unit's
// 65536th too much now and then, never a unit short at the end of a second.
std::int64_t InSteps(double units) {
    const double steps = std::ceil(std::fabs(units) * kFraction);
    return static_cast<std::int64_t>(units < 0 ? -steps : steps);
}

// Takes the whole units out of `due`, leaving the fraction, of the sign of what was due.
std::int32_t TakeWhole(std::int64_t& due) {
    const std::int64_t whole = due / kFraction;
    due -= whole * kFraction;
    return static_cast<std::int32_t>(whole);
}

}  // namespace

bool StickScroll::Pushes(std::uint32_t x, std::uint32_t y) {
    return std::hypot(HalfUnits(x), HalfUnits(y)) > kDeadZone;
}

void StickScroll::Tick(std::uint32_t x, std::uint32_t y, std::int16_t speed, ScrollPort& port) {
    const double dx = HalfUnits(x);
    const double dy = HalfUnits(y);
    const double distance = std::hypot(dx, dy);
    if (distance <= kDeadZone) {
        if (!scrolling_) return;
        scrolling_ = false;
        horizontal_ = vertical_ = 0;  // less than a 120th of a notch: nothing a wheel shows
        port.EndScroll();
        return;
    }
    scrolling_ = true;
    const double push = (std::min(distance, kFullPush) - kDeadZone) / (kFullPush - kDeadZone);
    const std::size_t row = static_cast<std::size_t>(std::clamp<int>(speed, 1, 5) - 1);
    const double perTick = kTopScrollRates[row] * push * push / kScrollTicksPerSecond;
    // Along the push: a diagonal turns both wheels, at the rate its length gives.
    horizontal_ += InSteps(perTick * dx / distance);
    vertical_ += InSteps(-perTick * dy / distance);  // up (y below the centre) turns it away
    const std::int32_t horizontal = TakeWhole(horizontal_);
    const std::int32_t vertical = TakeWhole(vertical_);
    if (horizontal == 0 && vertical == 0) return;
    // A report the output could not send is dropped, as a pointer step is; the next one counts.
    static_cast<void>(port.ScrollBy(horizontal, vertical));
}

}  // namespace vantrel
