// Which axes of a multimedia joystick record are the second stick, for the layouts pads show
// through winmm, and that a stick out of the dead zone at the start is never one.
#include <gtest/gtest.h>

#include "core/engine/MultimediaScrollAxes.h"

namespace vantrel {
namespace {

using Axes = std::optional<RecordScrollAxes>;
constexpr Axes kUR = RecordScrollAxes{RecordAxis::U, RecordAxis::R};
constexpr Axes kZR = RecordScrollAxes{RecordAxis::Z, RecordAxis::R};

struct RecordCase {
    const char* pad;
    RecordAxesAtOpen record;
    Axes expected;
};

class ScrollAxesOfRecordTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(ScrollAxesOfRecordTest, TakesTheSecondStickOfThePadsLayoutWhenItRests) {
    EXPECT_EQ(ScrollAxesOfRecord(GetParam().record), GetParam().expected) << GetParam().pad;
}

constexpr RecordAxesAtOpen kXInput{.hasZ = true, .hasR = true, .hasU = true, .axisCount = 5};
constexpr RecordAxesAtOpen kDualShock{
    .hasZ = true, .hasR = true, .hasU = true, .axisCount = 6, .u = 0};
constexpr RecordAxesAtOpen kFourAxes{.hasZ = true, .hasR = true, .axisCount = 4};

RecordAxesAtOpen With(RecordAxesAtOpen record, std::uint32_t z, std::uint32_t r, std::uint32_t u) {
    record.z = z, record.r = r, record.u = u;
    return record;
}

INSTANTIATE_TEST_SUITE_P(
    Pads, ScrollAxesOfRecordTest,
    ::testing::Values(
        RecordCase{"XInput pad", kXInput, kUR},
        RecordCase{"XInput pad, a trigger held", With(kXInput, 0, 32767, 32767), kUR},
        RecordCase{"XInput pad, right stick held sideways", With(kXInput, 32767, 32767, 65535),
                   std::nullopt},
        RecordCase{"right stick on Rx/Ry only",
                   RecordAxesAtOpen{.hasR = true, .hasU = true, .axisCount = 4}, kUR},
        RecordCase{"DualShock 4, DirectInput", kDualShock, kZR},
        RecordCase{"four-axis DirectInput pad", kFourAxes, kZR},
        RecordCase{"four axes, a throttle on Z", With(kFourAxes, 0, 32767, 32767), std::nullopt},
        RecordCase{"four axes, R at its end", With(kFourAxes, 32767, 65535, 32767), std::nullopt},
        RecordCase{"XInput pad, R at its end", With(kXInput, 32767, 0, 32767), std::nullopt},
        // The dead zone is round, a fifth of the half-range: 6553.5 from the centre, 32767.5.
        RecordCase{"Z at the edge of the dead zone", With(kFourAxes, 39320, 32767, 0), kZR},
        RecordCase{"Z just beyond it", With(kFourAxes, 39321, 32767, 0), std::nullopt},
        RecordCase{"R at the low edge", With(kFourAxes, 32767, 26215, 0), kZR},
        RecordCase{"R just beyond it", With(kFourAxes, 32767, 26214, 0), std::nullopt},
        RecordCase{"both near the edge, out together", With(kFourAxes, 37767, 37767, 0),
                   std::nullopt},
        RecordCase{"Z without R (a twist grip)", RecordAxesAtOpen{.hasZ = true, .axisCount = 3},
                   std::nullopt},
        RecordCase{"two axes", RecordAxesAtOpen{}, std::nullopt}));

}  // namespace
}  // namespace vantrel
