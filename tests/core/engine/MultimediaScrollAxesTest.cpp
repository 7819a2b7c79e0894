// Which axes of a multimedia joystick record are the second stick, for the layouts pads show
// through winmm, and that a stick out of the dead zone at the start is never one.
#include <gtest/gtest.h>

#include "core/engine/MultimediaScrollAxes.h"

namespace vantrel {
namespace {

using Axes = std::optional<RecordScrollAxes>;
constexpr Axes kUR = RecordScrollAxes{RecordAxis::U, RecordAxis::R};
constexpr Axes kZR = RecordScrollAxes{RecordAxis::Z, RecordAxis::R};
constexpr Axes kNone = std::nullopt;

// A layout with Z, R and U read at open as given.
constexpr RecordAxesAtOpen At(RecordAxesAtOpen layout, std::uint32_t z, std::uint32_t r,
                              std::uint32_t u) {
    layout.z = z, layout.r = r, layout.u = u;
    return layout;
}

TEST(ScrollAxesOfRecordTest, TakesTheSecondStickOfThePadsLayoutWhenItRests) {
    constexpr RecordAxesAtOpen xinput{.hasZ = true, .hasR = true, .hasU = true, .axisCount = 5};
    constexpr RecordAxesAtOpen sixAxes{.hasZ = true, .hasR = true, .hasU = true, .axisCount = 6};
    constexpr RecordAxesAtOpen fourAxes{.hasZ = true, .hasR = true, .axisCount = 4};
    constexpr RecordAxesAtOpen rxRy{.hasR = true, .hasU = true, .axisCount = 4};
    const struct {
        const char* pad;
        RecordAxesAtOpen record;
        Axes expected;
    } cases[] = {
        {"XInput pad", xinput, kUR},
        {"XInput pad, a trigger held (Z)", At(xinput, 0, 32767, 32767), kUR},
        {"XInput pad, right stick held sideways: Z is no stick", At(xinput, 32767, 32767, 0),
         kNone},
        {"right stick on Rx/Ry alone (Switch Pro)", rxRy, kUR},
        {"DualShock 4, L2 on U at its end", At(sixAxes, 32767, 32767, 0), kZR},
        {"four-axis DirectInput pad", fourAxes, kZR},
        {"a throttle on Z", At(fourAxes, 0, 32767, 32767), kNone},
        {"R at its end", At(xinput, 32767, 65535, 32767), kNone},
        // The dead zone is round, a fifth of the half-range: 6553.5 from the centre, 32767.5.
        {"Z at the edge of the dead zone", At(fourAxes, 39320, 32767, 0), kZR},
        {"Z just beyond it", At(fourAxes, 39321, 32767, 0), kNone},
        {"both inside alone, out together", At(fourAxes, 37767, 37767, 0), kNone},
        {"Z without R (a twist grip)", RecordAxesAtOpen{.hasZ = true, .axisCount = 3}, kNone},
    };
    for (const auto& c : cases) EXPECT_EQ(ScrollAxesOfRecord(c.record), c.expected) << c.pad;
}

}  // namespace
}  // namespace vantrel
