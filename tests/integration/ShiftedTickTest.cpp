// Moving ticks on a real X server: relative XTest motions land exactly where reading and placing
// put the pointer, over one scripted session, and wait for no reply where they are used.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/engine/PollEngine.h"
#include "platform/pointer/xtest/X11Pointer.h"
#include "support/EngineRig.h"
#include "support/fakes/FakeJoystick.h"

namespace vantrel {
namespace {

using test::kHigh;
using test::kLow;
using test::kRest;

// The X11 pointer without relative motion: every moving tick reads and places.
class ReadAndPlace : public PointerPort {
  public:
    explicit ReadAndPlace(X11Pointer& x11) : x11_(x11) {}
    bool QueryPosition(ScreenPoint& point) override { return x11_.QueryPosition(point); }
    bool QueryPositionForDisplay(ScreenPoint& point) override {
        return x11_.QueryPositionForDisplay(point);
    }
    bool PlaceAt(std::int32_t x, std::int32_t y) override { return x11_.PlaceAt(x, y); }

  private:
    X11Pointer& x11_;
};

// One line of the session: the stick held for `ticks` ticks, after the real mouse put the
// pointer at `mouseTo` when that is set, with `speed` and acceleration.
struct Stretch {
    std::uint32_t x, y;
    int ticks;
    const char* speed = "2";
    bool acceleration = true;
    ScreenPoint mouseTo{-1, -1};
};

// Odd starting pixels, so that a tie (a step ending in .5) rounds differently on each axis.
constexpr ScreenPoint kStart{641, 511};

const std::vector<Stretch> kSession = {
    {kRest, kRest, 2},
    {kHigh, kRest, 120},  // the whole acceleration run, into the right edge
    {kRest, kRest, 1},
    {kLow, kLow, 110},                            // diagonal, to the top edge
    {kLow, kRest, 30, "2", true, {101, 901}},     // the mouse moved first; on into the left edge
    {kHigh, kHigh, 40, "2", true, {1270, 1000}},  // mid-run, into the bottom-right corner
    {kRest, kRest, 1, "2.5", false},
    {kHigh, kRest, 6, "2.5", false, {301, 301}},  // ties from an odd pixel
    {kRest, kRest, 1, "1.5"},
    {kRest, kHigh, 25, "1.5"},  // ties for 20 ticks, then 2.1
    {kRest, kRest, 1, "0.7"},
    {kLow, kHigh, 3, "0.7", true, {500, 502}},  // steps below one pixel
};

struct Session {
    std::vector<ScreenPoint> path;  // where the pointer was after each tick
    std::uint64_t waitsMoving = 0;  // replies waited for during moving ticks, syncs excluded
    int movingTicks = 0;
};

class ShiftedTickTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X display (Xvfb)";
        ASSERT_TRUE(x11.Connected());
        ASSERT_TRUE(mouse.Connected());
        x11.SetPrefetchMaxAge(std::chrono::hours(1));  // a stall must not turn into a wait
    }

    Session Play(PointerPort& output) {
        test::FakeJoystick joystick;
        joystick.Plug(0);
        Settings settings = DefaultSettings();
        PollEngine engine(joystick, output, x11, settings);
        EXPECT_TRUE(mouse.PlaceAt(kStart.x, kStart.y) && mouse.Sync());
        Session run;
        for (const Stretch& stretch : kSession) {
            if (stretch.mouseTo.x >= 0) {
                EXPECT_TRUE(mouse.PlaceAt(stretch.mouseTo.x, stretch.mouseTo.y) && mouse.Sync());
            }
            settings.PointerSpeed = stretch.speed;
            settings.Acceleration = stretch.acceleration ? 1 : 0;
            joystick.SetAxes(stretch.x, stretch.y);
            const bool moving = !PollEngine::IsRestReading(joystick.At(0).state);
            for (int i = 0; i < stretch.ticks; ++i) {
                const std::uint64_t waits = x11.Waits();
                engine.Tick();
                if (moving) run.waitsMoving += x11.Waits() - waits, ++run.movingTicks;
                EXPECT_TRUE(x11.Sync());  // everything handled before the other client looks
                ScreenPoint at;
                EXPECT_TRUE(mouse.QueryPosition(at));
                run.path.push_back(at);
            }
        }
        return run;
    }

    X11Pointer x11;
    X11Pointer mouse;  // another client: the real mouse, and the one who looks
};

TEST_F(ShiftedTickTest, ShiftsLandWhereReadingAndPlacingDidAndWaitOnlyOnTies) {
    ReadAndPlace readAndPlace(x11);
    const Session placed = Play(readAndPlace);
    const Session shifted = Play(x11);

    ASSERT_EQ(shifted.path.size(), placed.path.size());
    for (std::size_t i = 0; i < placed.path.size(); ++i) {
        SCOPED_TRACE("tick " + std::to_string(i));
        EXPECT_EQ(shifted.path[i].x, placed.path[i].x);
        EXPECT_EQ(shifted.path[i].y, placed.path[i].y);
    }
    // The session reaches every edge of the 1280x1024 screen.
    ScreenPoint low = kStart, high = kStart;
    for (const ScreenPoint& at : placed.path) {
        low = {std::min(low.x, at.x), std::min(low.y, at.y)};
        high = {std::max(high.x, at.x), std::max(high.y, at.y)};
    }
    EXPECT_TRUE(low.x == 0 && low.y == 0 && high.x == 1279 && high.y == 1023)
        << "reached (" << low.x << ", " << low.y << ") to (" << high.x << ", " << high.y << ")";

    // Reading and placing waits at least three times per moving tick (two reads to place, one
    // for the text). The shifted run waits only on the 6 + 20 ticks whose step is a tie (2.5
    // unaccelerated, 1.5 before the first stage), and once more on the first shift after them,
    // whose text finds no query pending.
    EXPECT_GE(placed.waitsMoving, 3u * static_cast<unsigned>(placed.movingTicks));
    EXPECT_EQ(shifted.waitsMoving, 3u * (6u + 20u) + 1u);
}

}  // namespace
}  // namespace vantrel
