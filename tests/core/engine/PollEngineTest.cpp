#include "core/engine/PollEngine.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/AccelerationRun.h"
#include "support/EngineRig.h"
#include "support/fakes/FakeJoystick.h"
#include "support/fakes/FakeMouseButtons.h"
#include "support/fakes/FakePointer.h"

namespace vantrel {
namespace {

using test::FakePointer;

using test::kHigh;
using test::kLow;
using test::kRest;

using Rig = test::EngineRig;

struct DeadZoneCase {
    std::uint32_t x, y;
    int dx, dy;
};

class DeadZoneTest : public ::testing::TestWithParam<DeadZoneCase> {};

TEST_P(DeadZoneTest, MovesOnlyOutsideTheDeadZone) {
    const DeadZoneCase c = GetParam();
    Rig rig;
    rig.joystick.SetAxes(c.x, c.y);
    rig.engine.Tick();
    EXPECT_EQ(rig.pointer.position.x, 640 + c.dx);
    EXPECT_EQ(rig.pointer.position.y, 512 + c.dy);
    EXPECT_EQ(rig.engine.MoveTicks(), c.dx != 0 || c.dy != 0 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, DeadZoneTest,
    // The low end of the dead zone lies beyond the rim a round gate needs: it moves too.
    ::testing::Values(DeadZoneCase{149, kRest, -2, 0}, DeadZoneCase{150, kRest, -2, 0},
                      DeadZoneCase{63850, kRest, 0, 0}, DeadZoneCase{63851, kRest, 2, 0},
                      DeadZoneCase{kRest, 149, 0, -2}, DeadZoneCase{kRest, 150, 0, -2},
                      DeadZoneCase{kRest, 63850, 0, 0}, DeadZoneCase{kRest, 63851, 0, 2},
                      DeadZoneCase{kLow, kHigh, -2, 2}, DeadZoneCase{kHigh, kLow, 2, -2},
                      // Above the signed 32-bit range an axis reads as negative: far left.
                      DeadZoneCase{0x80000000u, kRest, -2, 0}));

// A round gate's stick `deflection` of the way out at `degrees` counterclockwise from right, in
// each quarter turn; (sx, sy) is the direction expected in the first quarter (screen y down).
struct RoundGateCase {
    int degrees;
    double deflection;
    int sx, sy;
};

class RoundGateTest : public ::testing::TestWithParam<std::tuple<RoundGateCase, int>> {};

TEST_P(RoundGateTest, MovesInTheNearestOfEightDirectionsOnlyAtTheRim) {
    const auto [c, quarter] = GetParam();
    const double angle = (c.degrees + 90.0 * quarter) * std::acos(-1.0) / 180.0;
    const auto axis = [&](double unit) {
        return static_cast<std::uint32_t>(std::lround(32767.5 + c.deflection * unit * 32767.5));
    };
    Rig rig;
    rig.joystick.SetAxes(axis(std::cos(angle)), axis(-std::sin(angle)));
    int sx = c.sx, sy = c.sy;
    for (int i = 0; i < quarter; ++i) sx = std::exchange(sy, -sx);  // (x, y) turns to (y, -x)
    EXPECT_EQ(PollEngine::IsRestReading(rig.joystick.At(0).state), sx == 0 && sy == 0);
    rig.engine.Tick();
    EXPECT_EQ(rig.pointer.position.x, 640 + 2 * sx);
    EXPECT_EQ(rig.pointer.position.y, 512 + 2 * sy);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(AllQuarters, RoundGateTest, ::testing::Combine(::testing::Values(
    RoundGateCase{0, 1, 1, 0}, RoundGateCase{10, 1, 1, 0}, RoundGateCase{20, 1, 1, 0},
    RoundGateCase{30, 1, 1, -1}, RoundGateCase{45, 1, 1, -1}, RoundGateCase{60, 1, 1, -1},
    RoundGateCase{70, 1, 0, -1}, RoundGateCase{80, 1, 0, -1}, RoundGateCase{90, 1, 0, -1},
    RoundGateCase{0, 0.9, 0, 0}, RoundGateCase{20, 0.9, 0, 0}, RoundGateCase{45, 0.9, 0, 0},
    RoundGateCase{70, 0.9, 0, 0}, RoundGateCase{45, 0.948, 0, 0}, RoundGateCase{45, 0.95, 1, -1}),
    ::testing::Range(0, 4)));
// clang-format on

// One stretch of a run: the settings changed as given, then the stick held at (x, y) for
// `ticks` ticks; then the pointer, the step and the moving ticks, where given.
struct Stretch {
    std::uint32_t x = kRest, y = kRest;
    int ticks = 1;
    const char* speed = nullptr;
    std::int16_t acceleration = -1;  // -1: as it is
    std::optional<int> px = {}, py = {};
    std::optional<float> step = {};
    std::optional<int> moveTicks = {};
};
struct RunCase {
    const char* name;
    std::vector<Stretch> stretches;
    ScreenPoint start{640, 512};
};

class RunTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(RunTest, StepFollowsSpeedAndAccelerationAndChangesOnlyAtRest) {
    Rig rig;
    rig.WideScreen();
    rig.pointer.position = GetParam().start;
    int n = 0;
    for (const Stretch& s : GetParam().stretches) {
        SCOPED_TRACE(::testing::Message() << "stretch " << ++n);
        if (s.speed) rig.settings.PointerSpeed = s.speed;
        if (s.acceleration >= 0) rig.settings.Acceleration = s.acceleration;
        rig.joystick.SetAxes(s.x, s.y);
        rig.Ticks(s.ticks);
        const ScreenPoint at = rig.pointer.position;
        EXPECT_EQ(at.x, s.px.value_or(at.x));
        EXPECT_EQ(at.y, s.py.value_or(at.y));
        EXPECT_EQ(rig.engine.PointerStep(), s.step.value_or(rig.engine.PointerStep()));
        EXPECT_EQ(rig.engine.MoveTicks(), s.moveTicks.value_or(rig.engine.MoveTicks()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RunTest,
    ::testing::Values(
        // 20 moving ticks of 2 pixels, 10 of 3; turned up along the rim to 45 degrees, 10 ticks of
        // 3 pixels on both axes, 20 of 4.
        RunCase{"TurningOntoARoundDiagonalKeepsTheRun",
                {{.x = kHigh, .ticks = 30},
                 {.x = 55938, .y = 9597, .ticks = 30, .px = 820, .py = 402, .moveTicks = 60}}},
        // From an even position a half-pixel step moves nothing until it grows.
        RunCase{"HalfPixelStepLeft",
                {{.speed = "0.5"},
                 {.x = kLow, .ticks = 20, .px = 100, .step = 0.7f},
                 {.x = kLow, .px = 99}},
                {100, 100}},
        RunCase{"HalfPixelStepRight",
                {{.speed = "0.5"},
                 {.x = kHigh, .ticks = 20, .px = 100, .step = 0.7f},
                 {.x = kHigh, .px = 101}},
                {100, 100}},
        // Still the old step while moving; the new one from the next tick at rest; and back: the
        // cached parse must not stick.
        RunCase{"NewSpeedActsFromTheNextTickAtRest",
                {{},
                 {.x = kLow, .speed = "5", .px = 638},
                 {},
                 {.x = kLow, .px = 633},
                 {.speed = "2", .step = 2.0f}}},
        RunCase{"HeldFromTheFirstTickMovesAtOnce",
                {{.x = kLow, .y = kLow, .speed = "3", .px = 637, .py = 509}}},
        RunCase{"HeldFromTheFirstTickMovesAtOnceUnaccelerated",
                {{.x = kLow, .y = kLow, .speed = "3", .acceleration = 0, .px = 637, .py = 509}}},
        // Without acceleration the step follows the speed and never grows.
        RunCase{
            "Unaccelerated",
            {{.x = kHigh, .ticks = 100, .acceleration = 0, .px = 840, .step = 2.0f, .moveTicks = 0},
             {.speed = "7", .step = 7.0f}}},
        RunCase{"AccelerationOffKeepsTheGrownStepUntilRest",
                {{.x = kLow, .ticks = 21, .px = 597},
                 {.x = kLow, .ticks = 2, .acceleration = 0, .px = 591, .step = 2.8f},
                 {.step = 2.0f}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PollEngineTest, AccelerationRunGrowsTheStepAfter20_40_60_80MovingTicks) {
    Rig rig;
    rig.WideScreen();
    rig.engine.Tick();  // at rest
    rig.joystick.SetAxes(kLow, kRest);

    for (int tick = 1; tick <= 100; ++tick) {
        const int before = rig.pointer.position.x;
        rig.engine.Tick();
        EXPECT_EQ(before - rig.pointer.position.x, test::SpeedTwoStep(tick))
            << "moving tick " << tick;
    }
    EXPECT_EQ(rig.engine.MoveTicks(), 100);
    EXPECT_FLOAT_EQ(rig.engine.PointerStep(), 9.4395f);
    EXPECT_EQ(rig.pointer.position.y, 512);

    // One tick at rest ends the run.
    rig.joystick.SetAxes(kRest, kRest);
    rig.engine.Tick();
    EXPECT_EQ(rig.engine.MoveTicks(), 0);
    EXPECT_EQ(rig.engine.PointerStep(), 2.0f);
}

TEST(PollEngineTest, StepComesFromTheSpeedText) {
    const std::vector<std::pair<std::string, float>> cases = {
        {"", 2.0f},       {"fast", 2.0f}, {"0", 2.0f},     {"0.0", 2.0f}, {"1,5", 1.0f},
        {" 1 . 5", 1.5f}, {"3 ", 3.0f},   {"2.5px", 2.5f}, {"4", 4.0f},
    };
    for (const auto& [speed, step] : cases) {
        SCOPED_TRACE("speed \"" + speed + "\"");
        Rig rig;
        rig.settings.PointerSpeed = speed;
        rig.engine.Tick();
        EXPECT_FLOAT_EQ(rig.engine.PointerStep(), step);
    }
}

// Speeds typed into the dialog or a hand-edited file that give no usable step: negative (the
// stick would be turned around) or so large that every placement overflows.
class UnusableSpeedTest : public ::testing::TestWithParam<std::string> {};

TEST_P(UnusableSpeedTest, MovesByTheDefaultStepTheWayTheStickPoints) {
    Rig rig;
    rig.settings.PointerSpeed = GetParam();
    rig.joystick.SetAxes(kHigh, kLow);
    rig.engine.Tick();
    EXPECT_EQ(rig.pointer.position.x, 642);
    EXPECT_EQ(rig.pointer.position.y, 510);
    EXPECT_EQ(rig.settings.PointerSpeed, GetParam());  // the text stays as typed
}

INSTANTIATE_TEST_SUITE_P(HostileSpeeds, UnusableSpeedTest,
                         ::testing::Values("-1", "-0.5", "2147483648", "4294967296",
                                           "99999999999999999999", "1000.5", "1e308"));

TEST(PollEngineTest, MoveTicksStopsAtTheLargestCount) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(NextMoveTicks(0), 1);
    EXPECT_EQ(NextMoveTicks(kMax - 1), kMax);
    EXPECT_EQ(NextMoveTicks(kMax), kMax);
}

TEST(PollEngineTest, FailedReadCountsAsStickAtRestWithNoButton) {
    Rig rig;
    rig.WideScreen();
    rig.joystick.SetAxes(kLow, kRest);
    rig.joystick.SetButtons(1);
    rig.Ticks(25);
    ASSERT_EQ(rig.engine.HeldButton(), "1");
    ASSERT_GT(rig.engine.MoveTicks(), 0);
    const ScreenPoint before = rig.pointer.position;

    rig.joystick.At(0).readable = false;  // pulled out mid-move
    rig.buttons.Take();
    rig.engine.Tick();
    EXPECT_EQ(rig.pointer.position.x, before.x);
    EXPECT_EQ(rig.buttons.Take(), std::vector<MouseButtonEvent>{MouseButtonEvent::LeftUp});
    EXPECT_EQ(rig.engine.HeldButton(), "");
    EXPECT_EQ(rig.engine.MoveTicks(), 0);
    rig.Ticks(3);
    EXPECT_EQ(rig.pointer.position.x, before.x);
    EXPECT_TRUE(rig.buttons.events.empty());

    rig.joystick.Unplug(0);  // gone altogether: the same
    rig.engine.Tick();
    EXPECT_EQ(rig.pointer.position.x, before.x);
}

// Held-button transitions: per tick the mask, the events expected and HeldButton afterwards.
struct Step {
    std::uint32_t mask;
    std::vector<MouseButtonEvent> events;
    std::string held;
};
struct ButtonCase {
    const char* name;
    std::vector<Step> steps;
    std::array<std::int16_t, 3> mapped{1, 2, 3};  // the left, right and middle buttons
};

class HeldButtonTest : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(HeldButtonTest, SendsTheExpectedEvents) {
    const ButtonCase& c = GetParam();
    Rig rig;
    rig.settings.LeftButton = c.mapped[0];
    rig.settings.RightButton = c.mapped[1];
    rig.settings.MiddleButton = c.mapped[2];
    int tick = 0;
    for (const Step& step : c.steps) {
        SCOPED_TRACE(::testing::Message() << "tick " << ++tick << " mask " << step.mask);
        rig.joystick.SetButtons(step.mask);
        rig.engine.Tick();
        EXPECT_EQ(rig.buttons.Take(), step.events);
        EXPECT_EQ(rig.engine.HeldButton(), step.held);
    }
}

using E = MouseButtonEvent;
const std::vector<MouseButtonEvent> kNone;

INSTANTIATE_TEST_SUITE_P(
    Table, HeldButtonTest,
    ::testing::Values(
        ButtonCase{"PressHoldRelease",
                   {{1, {E::LeftDown}, "1"},
                    {1, kNone, "1"},
                    {1, kNone, "1"},
                    {0, {E::LeftUp}, ""},
                    {0, kNone, ""}}},
        ButtonCase{"RightAndMiddle",
                   {{2, {E::RightDown}, "2"},
                    {0, {E::RightUp}, ""},
                    {4, {E::MiddleDown}, "3"},
                    {0, {E::MiddleUp}, ""}}},
        // The left button, pressed first, must not stay down once everything is let go.
        ButtonCase{"OverlapReleasesEveryButtonPressed",
                   {{1, {E::LeftDown}, "1"},
                    {3, kNone, "1"},
                    {2, {E::RightDown}, "2"},
                    {0, {E::RightUp, E::LeftUp}, ""},
                    {0, kNone, ""}}},
        ButtonCase{"PressedAgainBeforeTheReleaseGoesUpOnce",
                   {{1, {E::LeftDown}, "1"},
                    {3, kNone, "1"},
                    {2, {E::RightDown}, "2"},
                    {3, kNone, "2"},
                    {1, {E::LeftDown}, "1"},
                    {0, {E::RightUp, E::LeftUp}, ""}}},
        ButtonCase{"ChordPressesNothingUntilOneIsLetGo",
                   {{3, kNone, ""}, {3, kNone, ""}, {1, {E::LeftDown}, "1"}, {0, {E::LeftUp}, ""}}},
        ButtonCase{"UnmappedButton", {{8, kNone, ""}, {0, kNone, ""}}},
        ButtonCase{
            "Button32AloneIsNoButton",
            {{1, {E::LeftDown}, "1"}, {0x80000000u, {E::LeftUp}, ""}, {0x80000000u, kNone, ""}}},
        ButtonCase{"Button32WithAnotherIsNoButtonEither", {{0x80000001u, kNone, ""}}},
        ButtonCase{"OneButtonMappedTwice",
                   {{1, {E::LeftDown, E::RightDown}, "2"},
                    {1, kNone, "2"},
                    {0, {E::RightUp, E::LeftUp}, ""}},
                   {1, 1, 3}},
        ButtonCase{"MappedThreeTimes",
                   {{16, {E::LeftDown, E::RightDown, E::MiddleDown}, "3"},
                    {0, {E::MiddleUp, E::RightUp, E::LeftUp}, ""}},
                   {5, 5, 5}},
        // Buttons 16 to 31 press once, not on every tick.
        ButtonCase{"HighButtonPressesOnce",
                   {{0x10000, {E::LeftDown}, "1"},
                    {0x10000, kNone, "1"},
                    {0, {E::LeftUp}, ""},
                    {0x40000000, {E::MiddleDown}, "3"},
                    {0x40000000, kNone, "3"},
                    {0, {E::MiddleUp}, ""}},
                   {17, 2, 31}},
        ButtonCase{"ImpossibleNumbersNeverMatch",
                   {{1, kNone, ""}, {0x80000000u, kNone, ""}, {2, kNone, ""}, {0, kNone, ""}},
                   {-32768, 0, 33}},
        ButtonCase{"NegativeNumberNeverMatches",
                   {{1, kNone, ""}, {0x7FFFFFFF, kNone, ""}},
                   {-1, 32, -32767}}),
    [](const ::testing::TestParamInfo<ButtonCase>& info) { return std::string(info.param.name); });

TEST(PollEngineTest, PositionTextShowsThePositionAfterTheMoves) {
    struct Case {
        ScreenPoint start;
        std::uint32_t x;
        const char* text;
    };
    for (const Case c : {Case{{512, 384}, kRest, " 512 -  384"}, Case{{0, 0}, kRest, " 0 -  0"},
                         Case{{-1280, -20}, kRest, "-1280 - -20"}, Case{{-1, 7}, kHigh, " 1 -  7"},
                         Case{{std::numeric_limits<std::int32_t>::min(), 2147483647},
                              kRest,
                              "-2147483648 -  2147483647"}}) {
        SCOPED_TRACE(c.text);
        Rig rig;
        rig.pointer.minX = rig.pointer.minY = std::numeric_limits<std::int32_t>::min();
        rig.pointer.maxX = rig.pointer.maxY = std::numeric_limits<std::int32_t>::max();
        rig.pointer.position = c.start;
        rig.joystick.SetAxes(c.x, kRest);
        rig.engine.Tick();
        EXPECT_EQ(rig.engine.PositionText(), c.text);
    }
}

// The real mouse moved by hand shows; a failed query keeps the last text.
TEST(PollEngineTest, PositionTextFollowsTheRealMouseAndSurvivesAFailedQuery) {
    Rig rig;
    for (const auto& [at, fails, text] : {std::tuple{ScreenPoint{640, 512}, false, " 640 -  512"},
                                          {ScreenPoint{10, 20}, false, " 10 -  20"},
                                          {ScreenPoint{30, 40}, true, " 10 -  20"}}) {
        rig.pointer.position = at;
        rig.pointer.failQueries = fails;
        rig.engine.Tick();
        EXPECT_EQ(rig.engine.PositionText(), text);
    }
}

TEST(PollEngineTest, TickTouchesThePointerInTheFixedOrder) {
    using Call = FakePointer::Call;
    Rig rig;
    rig.engine.Tick();  // at rest: one query for the text
    EXPECT_EQ(rig.pointer.calls, std::vector<Call>{Call{Call::Query}});

    rig.pointer.calls.clear();
    rig.joystick.SetAxes(kLow, kHigh);
    rig.engine.Tick();
    // X read, Y read + place, Y read... mirrored, then the text.
    EXPECT_EQ(rig.pointer.calls, (std::vector<Call>{{Call::Query},
                                                    {Call::Query},
                                                    {Call::Place, 638, 512},
                                                    {Call::Query},
                                                    {Call::Query},
                                                    {Call::Place, 638, 514},
                                                    {Call::Query}}));
}

}  // namespace
}  // namespace vantrel
