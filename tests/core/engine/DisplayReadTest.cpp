// Which pointer reads a tick makes: a backend may answer the position text at rest from an
// earlier read, but every read a move is computed from must be a fresh one.
#include <gtest/gtest.h>

#include "core/engine/Mouse.h"
#include "support/EngineRig.h"

namespace vantrel {
namespace {

using test::kHigh;
using test::kLow;
using test::kRest;

// A backend whose display read answers from what it read earlier (`shown`), not from where the
// pointer is now, and counts those reads apart from the fresh ones.
struct PipelinedPointer : test::FakePointer {
    ScreenPoint shown{5, 7};
    bool failDisplay = false;
    long displayQueries = 0;

    bool QueryPositionForDisplay(ScreenPoint& point) override {
        ++displayQueries;
        if (failDisplay) return false;
        point = shown;
        return true;
    }
};

struct Pipelined {
    PipelinedPointer pointer;
};
struct Rig : Pipelined, test::EngineRig {
    using Pipelined::pointer;
    Rig() : EngineRig(Pipelined::pointer) {}
};

TEST(DisplayReadTest, AtRestOnlyTheDisplayReadIsUsed) {
    Rig rig;
    rig.Ticks(3);
    EXPECT_EQ(rig.pointer.displayQueries, 3);
    EXPECT_EQ(rig.pointer.queries, 0);
    EXPECT_EQ(rig.pointer.placements, 0);
    EXPECT_EQ(rig.engine.PositionText(), " 5 -  7");

    rig.pointer.shown = {-3, 9};
    rig.Ticks(1);
    EXPECT_EQ(rig.engine.PositionText(), "-3 -  9");

    // A held or pressed button does not make the tick a moving one.
    rig.joystick.SetButtons(1);
    rig.Ticks(2);
    EXPECT_EQ(rig.pointer.displayQueries, 6);
    EXPECT_EQ(rig.pointer.queries, 0);
}

TEST(DisplayReadTest, MovesAndTheirTextUseOnlyFreshReads) {
    Rig rig;
    rig.Ticks(1);  // at rest: the step is taken from the speed
    rig.joystick.SetAxes(kLow, kRest);
    rig.Ticks(1);
    // From where the pointer really is (640), not from the display read's 5.
    EXPECT_EQ(rig.pointer.position.x, 638);
    EXPECT_EQ(rig.engine.PositionText(), " 638 -  512");

    rig.joystick.SetAxes(kHigh, kLow);
    rig.pointer.position = {100, 100};  // the real mouse moved in between
    rig.Ticks(2);
    EXPECT_EQ(rig.pointer.position.x, 104);
    EXPECT_EQ(rig.pointer.position.y, 96);
    EXPECT_EQ(rig.engine.PositionText(), " 104 -  96");
    EXPECT_EQ(rig.pointer.displayQueries, 1);  // only the first tick's

    // Back at rest the display read takes over again; when it fails, the text keeps the last
    // position read.
    rig.joystick.SetAxes(kRest, kRest);
    rig.pointer.failDisplay = true;
    rig.Ticks(1);
    EXPECT_EQ(rig.pointer.displayQueries, 2);
    EXPECT_EQ(rig.engine.PositionText(), " 104 -  96");
    rig.pointer.failDisplay = false;
    rig.Ticks(1);
    EXPECT_EQ(rig.engine.PositionText(), " 5 -  7");
}

TEST(DisplayReadTest, WithoutPipeliningTheDisplayReadIsAFreshQuery) {
    test::FakePointer pointer;
    Mouse mouse(pointer);
    pointer.position = {-20, 30};
    EXPECT_EQ(mouse.PositionForDisplay().x, -20);
    EXPECT_EQ(pointer.queries, 1);
    pointer.failQueries = true;
    pointer.position = {1, 1};
    EXPECT_EQ(mouse.PositionForDisplay().y, 30);  // the last point read
}

}  // namespace
}  // namespace vantrel
