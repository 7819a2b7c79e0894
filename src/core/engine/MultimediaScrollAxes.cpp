#include "core/engine/MultimediaScrollAxes.h"

#include <cstdlib>

namespace vantrel {

namespace {

// Within the scroll dead zone, a fifth of the half-range: an axis resting further out would
// scroll on its own.
constexpr std::int64_t kRestReach = 32768 / 5;

bool AtRest(bool present, std::uint32_t value) {
    return present && std::llabs(static_cast<std::int64_t>(value) - 32767) <= kRestReach;
}

// The most axes winmm shows for an XInput pad.
constexpr unsigned kXInputAxes = 5;

}  // namespace

std::optional<RecordScrollAxes> ScrollAxesOfRecord(const RecordAxesAtOpen& record) {
    const bool xinputLayout = record.hasU && record.axisCount <= kXInputAxes;
    const bool horizontalAtRest =
        xinputLayout ? AtRest(record.hasU, record.u) : AtRest(record.hasZ, record.z);
    if (!horizontalAtRest || !AtRest(record.hasR, record.r)) return std::nullopt;
    return RecordScrollAxes{xinputLayout ? RecordAxis::U : RecordAxis::Z, RecordAxis::R};
}

}  // namespace vantrel
