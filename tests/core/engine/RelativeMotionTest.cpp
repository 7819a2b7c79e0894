#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine/PollEngine.h"
#include "support/AccelerationRun.h"
#include "support/EngineRig.h"
#include "support/fakes/FakeRelativePointer.h"

namespace vantrel {
namespace {

using Move = test::FakeRelativePointer::Move;
using test::kHigh;
using test::kLow;
using test::kRest;

// The moves a relative output receives for `ticks` ticks of the stick at (x, y).
std::vector<Move> RelativeMoves(const std::string& speed, std::uint32_t x, std::uint32_t y,
                                int ticks) {
    test::FakeRelativePointer pointer;
    test::EngineRig rig(pointer);
    rig.settings.PointerSpeed = speed;
    rig.joystick.SetAxes(x, y);
    for (int i = 0; i < ticks; ++i) rig.engine.Tick();
    return pointer.moves;
}

// The same run on the absolute output from an even start, as the difference of each placement;
// ticks that place nothing new leave no entry.
std::vector<Move> AbsoluteMoves(const std::string& speed, std::uint32_t x, std::uint32_t y,
                                int ticks) {
    test::EngineRig rig;
    rig.WideScreen();
    rig.pointer.position = {0, 0};
    rig.settings.PointerSpeed = speed;
    rig.joystick.SetAxes(x, y);
    std::vector<Move> moves;
    for (int i = 0; i < ticks; ++i) {
        const ScreenPoint before = rig.pointer.position;
        rig.engine.Tick();
        const Move move{rig.pointer.position.x - before.x, rig.pointer.position.y - before.y};
        if (move != Move{}) moves.push_back(move);
    }
    return moves;
}

struct RunCase {
    std::string speed;
    std::uint32_t x, y;
};

class RelativeRunTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(RelativeRunTest, ReproducesTheAbsoluteStepsExactly) {
    const RunCase c = GetParam();
    EXPECT_EQ(RelativeMoves(c.speed, c.x, c.y, 120), AbsoluteMoves(c.speed, c.x, c.y, 120));
}

INSTANTIATE_TEST_SUITE_P(SpeedsAndDirections, RelativeRunTest,
                         ::testing::Values(RunCase{"2", kLow, kRest}, RunCase{"2", kRest, kHigh},
                                           RunCase{"0.5", kHigh, kRest},
                                           RunCase{"0.5", kRest, kLow},
                                           RunCase{"1.5", kHigh, kHigh},
                                           RunCase{"2.5", kLow, kHigh}, RunCase{"3.3", kLow, kLow},
                                           RunCase{"0.25", kHigh, kRest}));

TEST(RelativeMotionTest, SpeedTwoSendsTheAccelerationTableOneReportPerTick) {
    const std::vector<Move> moves = RelativeMoves("2", kHigh, kRest, 100);
    ASSERT_EQ(moves.size(), 100u);
    for (int tick = 1; tick <= 100; ++tick)
        EXPECT_EQ(moves[tick - 1], (Move{test::SpeedTwoStep(tick), 0})) << "moving tick " << tick;
}

TEST(RelativeMotionTest, HalfPixelStepMovesNothingUntilItGrows) {
    const std::vector<Move> moves = RelativeMoves("0.5", kLow, kRest, 21);
    EXPECT_EQ(moves, (std::vector<Move>{{-1, 0}}));  // step 0.7 from tick 21
}

TEST(RelativeMotionTest, DiagonalIsOneReportAndRestSendsNone) {
    test::FakeRelativePointer pointer;
    test::EngineRig rig(pointer);
    rig.settings.PointerSpeed = "3";
    rig.engine.Tick();  // at rest
    rig.joystick.SetAxes(kHigh, kLow);
    rig.engine.Tick();
    rig.joystick.SetAxes(kRest, kRest);
    rig.engine.Tick();
    rig.joystick.SetButtons(1);  // a click alone is no motion
    rig.engine.Tick();
    EXPECT_EQ(pointer.moves, (std::vector<Move>{{3, -3}}));
    EXPECT_EQ(rig.engine.PositionText(), " 3 - -3");
}

TEST(RelativeMotionTest, HugeStepsKeepMovingPastThe32BitRange) {
    // The largest step (speed 1000, fully accelerated: 4720 px) passes 2^31 after about 455000
    // ticks, some 38 minutes of holding the stick; the kept position must not freeze there.
    test::FakeRelativePointer pointer;
    test::EngineRig rig(pointer);
    rig.settings.PointerSpeed = "1000";
    rig.joystick.SetAxes(kHigh, kRest);
    for (int i = 0; i < 80; ++i) rig.engine.Tick();
    pointer.moves.clear();
    constexpr int kTicks = 460000;
    for (int i = 0; i < kTicks; ++i) rig.engine.Tick();
    EXPECT_EQ(pointer.moves, std::vector<Move>(kTicks, Move{4720, 0}));
}

}  // namespace
}  // namespace vantrel
