// The scroll rule: round dead zone, square curve up to the speed's top rate, both wheels at once,
// fractions carried from tick to tick; and when the engine scrolls.
#include "core/engine/StickScroll.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/EngineRig.h"
#include "support/fakes/FakeScroll.h"

namespace vantrel {
namespace {

using test::FakeScroll;
using test::kHigh;
using test::kLow;
using test::kRest;

struct CurveCase {
    const char* name;
    std::uint32_t x, y;
    std::int16_t speed;
    int ticks;
    FakeScroll::Turn total;  // (horizontal, vertical) 120ths after those ticks
    std::size_t turns;       // reports that carried anything
};

class StickScrollTest : public ::testing::TestWithParam<CurveCase> {};

TEST_P(StickScrollTest, SendsTheUnitsDueAndCarriesTheFractions) {
    const CurveCase& c = GetParam();
    StickScroll scroll;
    FakeScroll port;
    for (int i = 0; i < c.ticks; ++i) scroll.Tick(c.x, c.y, c.speed, port);
    EXPECT_EQ(port.Total(), c.total);
    EXPECT_EQ(port.turns.size(), c.turns);
    EXPECT_EQ(port.ends, 0);
}

// Stick positions: 13949 and 23761 are half and a tenth of the way from the dead zone's rim to
// full push, upwards; (38666, 26869) is 0.18 of the half-range out on each axis, up and right.
INSTANTIATE_TEST_SUITE_P(
    Table, StickScrollTest,
    ::testing::Values(CurveCase{"Centre", kRest, kRest, 3, 200, {0, 0}, 0},
                      CurveCase{"InsideTheDeadZone", kRest, 26542, 3, 200, {0, 0}, 0},
                      // Inside a square dead zone on both axes, outside the round one.
                      CurveCase{"RoundDeadZone", 38666, 26869, 3, 1000, {18, 18}, 18},
                      CurveCase{"FullUpSpeed3", kRest, kLow, 3, 200, {0, 960}, 200},
                      CurveCase{"FullDownSpeed1", kRest, kHigh, 1, 200, {0, -360}, 200},
                      CurveCase{"FullRightSpeed5", kHigh, kRest, 5, 200, {2160, 0}, 200},
                      CurveCase{"FullLeftSpeed4", kLow, kRest, 4, 200, {-1440, 0}, 200},
                      CurveCase{"SpeedOutOfRangeIsTheNearest", kRest, kLow, 9, 200, {0, 2160}, 200},
                      CurveCase{"HalfPushQuarterRate", kRest, 13949, 3, 200, {0, 240}, 200},
                      // 0.048 of a unit a tick: one report every 21 ticks, none lost.
                      CurveCase{"CrawlAddsUp", kRest, 23761, 3, 1000, {0, 48}, 48},
                      CurveCase{"DiagonalTurnsBothWheels", kHigh, kLow, 3, 200, {678, 678}, 200}),
    [](const ::testing::TestParamInfo<CurveCase>& info) { return std::string(info.param.name); });

TEST(StickScrollEndTest, EndsOnceWhenTheStickComesBackAndStartsAfresh) {
    StickScroll scroll;
    FakeScroll port;
    scroll.Tick(kRest, kRest, 3, port);
    EXPECT_FALSE(scroll.Scrolling());
    scroll.Tick(kRest, 23761, 3, port);  // a crawl: nothing whole yet, but a scroll all the same
    EXPECT_TRUE(scroll.Scrolling());
    EXPECT_TRUE(port.turns.empty());
    for (int i = 0; i < 3; ++i) scroll.Tick(kRest, kRest, 3, port);
    EXPECT_FALSE(scroll.Scrolling());
    EXPECT_EQ(port.ends, 1);
    // The crawl's fraction went with the end: a push the other way starts from nothing.
    for (int i = 0; i < 20; ++i) scroll.Tick(kRest, 65535 - 23761, 3, port);
    EXPECT_TRUE(port.turns.empty());
}

// Whether the engine scrolls: the setting, the pad's scroll stick and an output that can.
struct EngineCase {
    const char* name;
    std::int16_t setting;
    bool scrollStick;
    bool port;
    bool scrolls;
};

class EngineScrollTest : public ::testing::TestWithParam<EngineCase> {};

TEST_P(EngineScrollTest, ScrollsOnlyWithTheSettingTheStickAndAPortAndRestsAfterTheRelease) {
    const EngineCase& c = GetParam();
    test::EngineRig rig;
    FakeScroll* port = &rig.scroll;
    PollEngine portless(rig.joystick, rig.pointer, rig.buttons, rig.settings);
    PollEngine& engine = c.port ? rig.engine : portless;
    rig.settings.ScrollStick = c.setting;
    rig.ScrollStickAt(kHigh, kLow);
    rig.joystick.At(0).caps.hasScrollStick = c.scrollStick;
    for (int i = 0; i < 10; ++i) engine.Tick();
    EXPECT_EQ(!port->turns.empty(), c.scrolls);
    EXPECT_EQ(engine.AtRest(), !c.scrolls);  // a scroll stick off-centre is not rest
    EXPECT_EQ(rig.pointer.placements, 0);    // the pointer stays where it is
    rig.ScrollStickAt(kRest, kRest);
    rig.joystick.At(0).caps.hasScrollStick = c.scrollStick;
    engine.Tick();
    EXPECT_TRUE(engine.AtRest());
    EXPECT_EQ(port->ends, c.scrolls ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EngineScrollTest,
    ::testing::Values(EngineCase{"On", 1, true, true, true},
                      EngineCase{"SettingOff", 0, true, true, false},
                      // The joystick library refused the axes (a trigger at rest at its end).
                      EngineCase{"NoScrollStick", 1, false, true, false},
                      EngineCase{"OutputCannotScroll", 1, true, false, false}),
    [](const ::testing::TestParamInfo<EngineCase>& info) { return std::string(info.param.name); });

TEST(EngineScrollTest, TurningTheSettingOffMidScrollEndsIt) {
    test::EngineRig rig;
    rig.ScrollStickAt(kRest, kLow);
    rig.engine.Tick();
    rig.settings.ScrollStick = 0;
    rig.engine.Tick();
    EXPECT_EQ(rig.scroll.ends, 1);
    EXPECT_TRUE(rig.engine.AtRest());
}

}  // namespace
}  // namespace vantrel
