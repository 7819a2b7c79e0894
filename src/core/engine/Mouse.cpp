#include "core/engine/Mouse.h"

#include <cmath>
#include <limits>

namespace vantrel {

bool RoundToInt32(double value, std::int32_t& out) {
    if (std::isnan(value)) return false;
    // Explicit ties-to-even, independent of the floating-point environment's rounding mode.
    const double below = std::floor(value);
    // Inexact only just below zero, where the error cannot change which neighbour is nearer.
    const double fraction = value - below;
    double nearest = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) nearest = below + 1.0;
    if (nearest < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        nearest > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return false;
    out = static_cast<std::int32_t>(nearest);
    return true;
}

void Mouse::Query() {
    ScreenPoint fresh;
    if (port_.QueryPosition(fresh)) point_ = fresh;  // a failed query keeps the last point
}

std::int32_t Mouse::X() {
    Query();
    return point_.x;
}

std::int32_t Mouse::Y() {
    Query();
    return point_.y;
}

ScreenPoint Mouse::Position() {
    Query();
    return point_;
}

ScreenPoint Mouse::PositionForDisplay() {
    ScreenPoint shown;
    if (port_.QueryPositionForDisplay(shown)) point_ = shown;
    return point_;
}

bool Mouse::SetX(double value) {
    std::int32_t x = 0;
    if (!RoundToInt32(value, x)) return false;
    const std::int32_t y = Y();
    const bool placed = port_.PlaceAt(x, y);
    static_cast<void>(placed);  // the window system confines or refuses; the next read tells
    return true;
}

bool Mouse::SetY(double value) {
    std::int32_t y = 0;
    if (!RoundToInt32(value, y)) return false;
    const std::int32_t x = X();
    const bool placed = port_.PlaceAt(x, y);
    static_cast<void>(placed);
    return true;
}

}  // namespace vantrel
