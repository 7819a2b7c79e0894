#include "core/engine/MultimediaScrollAxes.h"

#include "core/engine/StickScroll.h"

namespace vantrel {

namespace {

// The most axes winmm shows for an XInput pad.
constexpr unsigned kXInputAxes = 5;

}  // namespace

std::optional<RecordScrollAxes> ScrollAxesOfRecord(const RecordAxesAtOpen& record) {
    const bool xinputLayout = record.hasU && record.axisCount <= kXInputAxes;
    if (!record.hasR || (!xinputLayout && !record.hasZ)) return std::nullopt;
    // A stick resting out of the scroll dead zone would scroll on its own.
    if (StickScroll::Pushes(xinputLayout ? record.u : record.z, record.r)) return std::nullopt;
    return RecordScrollAxes{xinputLayout ? RecordAxis::U : RecordAxis::Z, RecordAxis::R};
}

}  // namespace vantrel
