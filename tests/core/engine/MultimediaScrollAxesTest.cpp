// Which axes of a multimedia joystick record are the second stick, for the layouts pads show
// through winmm, and that an axis away from its centre at the start is never one.
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
        RecordCase{"rest at the edge of the dead zone", With(kFourAxes, 32767 + 6553, 26214, 0),
                   kZR},
        RecordCase{"just beyond it", With(kFourAxes, 32767 + 6554, 32767, 0), std::nullopt},
        RecordCase{"just beyond it, low", With(kFourAxes, 32767, 26213, 0), std::nullopt},
        RecordCase{"Z without R (a twist grip)", RecordAxesAtOpen{.hasZ = true, .axisCount = 3},
                   std::nullopt},
        RecordCase{"two axes", RecordAxesAtOpen{}, std::nullopt}));

}  // namespace
}  // namespace vantrel
