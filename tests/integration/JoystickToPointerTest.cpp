// The whole engine path on a real display: SDL virtual joystick -> SdlJoysticks -> PollEngine
// -> X11Pointer, with a second X connection watching where the pointer and the clicks went.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/engine/JoystickDiscovery.h"
#include "core/engine/PollEngine.h"
#include "integration/VirtualPad.h"
#include "platform/joystick/sdl/SdlJoysticks.h"
#include "platform/pointer/xtest/X11Pointer.h"
#include "support/AccelerationRun.h"
#include "support/XInput.h"

// Last: Xlib defines macros (None, Bool, ...) that clash with names in the headers above.
#include <X11/Xlib.h>

namespace vantrel {
namespace {

using test::VirtualPad;

constexpr Sint16 kAxisMin = -32768;
constexpr Sint16 kAxisMax = 32767;

// A mapped window on its own connection that records the button events it receives.
class EventWindow {
  public:
    EventWindow(int x, int y, unsigned width, unsigned height) : display_(XOpenDisplay(nullptr)) {
        if (display_ == nullptr) return;
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        window_ = XCreateWindow(display_, DefaultRootWindow(display_), x, y, width, height, 0,
                                CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect,
                                &attributes);
        XSelectInput(display_, window_, ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
        XMapRaised(display_, window_);
        for (XEvent event; XNextEvent(display_, &event) == 0;)
            if (event.type == MapNotify && event.xmap.window == window_) break;
    }
    ~EventWindow() {
        if (display_ != nullptr) XCloseDisplay(display_);  // the window goes with it
    }
    EventWindow(const EventWindow&) = delete;
    EventWindow& operator=(const EventWindow&) = delete;

    bool Ready() const { return display_ != nullptr; }

    struct Click {
        int type;
        unsigned button;
        bool operator==(const Click&) const = default;
    };
    // The button events that arrived so far; the caller first syncs the sending connection, so
    // everything it sent has been handled by the server.
    std::vector<Click> Take() {
        std::vector<Click> clicks;
        XSync(display_, False);
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if ((event.type == ButtonPress || event.type == ButtonRelease) &&
                event.xbutton.window == window_)
                clicks.push_back({event.type, event.xbutton.button});
        }
        return clicks;
    }

  private:
    Display* display_ = nullptr;
    Window window_ = 0;
};
using Click = EventWindow::Click;

class JoystickToPointerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X display (Xvfb)";
        ASSERT_TRUE(joysticks.Ready());
        ASSERT_TRUE(pointer.Connected() && other.Connected());
        settings = DefaultSettings();
    }

    // A pad plugged in, whose device id the engine reads, as start-up would after counting.
    bool PlugPad(Uint16 axes = 2) {
        pad = std::make_unique<VirtualPad>("Vantrel Test Pad", axes);
        if (!pad->Attached()) return false;
        settings.JoystickId = static_cast<std::int16_t>(pad->Index());
        engine.FollowChosenJoystick();
        return true;
    }
    // A pad plugged in, and the pointer placed at (x, y) with two ticks at rest after it: the
    // text has caught up with it.
    bool PadAtRestAt(int x, int y, Uint16 axes = 2) {
        if (!PlugPad(axes) || !pointer.PlaceAt(x, y)) return false;
        Ticks(2);
        return true;
    }
    // The button events `target` took in, once the server has handled all the engine sent.
    std::vector<Click> ClicksOn(EventWindow& target) {
        EXPECT_TRUE(pointer.Sync());
        return target.Take();
    }
    bool Ticks(int n) {
        for (int i = 0; i < n; ++i) engine.Tick();
        return true;
    }
    // The stick held at (x, y), or button `b` put down or up, for `n` ticks.
    bool Hold(Sint16 x, Sint16 y, int n) { return pad->SetAxes(x, y) && Ticks(n); }
    bool Press(int b, bool down, int n = 1) { return pad->SetButton(b, down) && Ticks(n); }
    ScreenPoint Where() {
        ScreenPoint point;
        EXPECT_TRUE(pointer.QueryPosition(point));
        return point;
    }

    SdlJoysticks joysticks;
    std::unique_ptr<VirtualPad> pad;
    X11Pointer pointer;
    X11Pointer other;  // another client
    Settings settings;
    PollEngine engine{joysticks, pointer, pointer, settings, &pointer};
};

TEST_F(JoystickToPointerTest, DiscoveryReportsTheVirtualPad) {
    const int before = SDL_NumJoysticks();
    ASSERT_TRUE(PlugPad());
    EXPECT_EQ(CountJoysticks(joysticks), std::min(before + 1, 11));

    JoystickInfo caps;
    ReadJoystickInfo(joysticks, settings, caps);
    EXPECT_EQ(caps.name, "Vantrel Test Pad");
    EXPECT_EQ(caps.buttonCount, 12u);

    // A long name arrives whole, past the 31 bytes a Windows joystick record holds.
    const std::string longName = std::string(30, 'L') + "\xC3\xA9 and more";
    VirtualPad longPad(longName);
    ASSERT_TRUE(longPad.Attached());
    settings.JoystickId = static_cast<std::int16_t>(longPad.Index());
    ReadJoystickInfo(joysticks, settings, caps);
    EXPECT_EQ(caps.name, longName);

    settings.JoystickId = 10;  // nothing there: the record stays
    ReadJoystickInfo(joysticks, settings, caps);
    EXPECT_EQ(caps.name, longName);
}

TEST_F(JoystickToPointerTest, StickMovesThePointerWhereTheArithmeticSays) {
    ASSERT_TRUE(PadAtRestAt(640, 512));

    ASSERT_TRUE(Hold(kAxisMin, 0, 25));  // 20 ticks of 2 pixels, then 5 of 2.8 (3 whole pixels)
    EXPECT_EQ(Where().x, 640 - 20 * 2 - 5 * 3);

    // The y axis keeps the run going: moving ticks 26 to 36 move 2.8 (3 pixels).
    ASSERT_TRUE(Hold(0, kAxisMax, 11));
    const ScreenPoint end = Where();
    EXPECT_EQ(end.x, 585);
    EXPECT_EQ(end.y, 512 + 11 * 3);
    // Another client sees the same position.
    ASSERT_TRUE(pointer.Sync());
    EXPECT_EQ(test::XPointer().x, 585);
    EXPECT_EQ(test::XPointer().y, 545);
    // Moving ticks show the position a query asked at the tick before; at rest it catches up.
    ASSERT_TRUE(Hold(0, 0, 1));
    EXPECT_EQ(engine.PositionText(), " 585 -  545");

    // The server confines the pointer to the screen.
    ASSERT_TRUE(pointer.PlaceAt(3, 300));
    ASSERT_TRUE(Hold(0, 0, 1));
    ASSERT_TRUE(Hold(kAxisMin, 0, 5));
    EXPECT_EQ(engine.PositionText(), " 0 -  300");
}

TEST_F(JoystickToPointerTest, RoundGateDiagonalMovesUpRightWithTheWholeAccelerationRun) {
    ASSERT_TRUE(PadAtRestAt(200, 900));
    ASSERT_TRUE(pad->SetAxes(23170, -23170));  // pushed fully at 45 degrees in a round gate
    int moved = 0;
    for (const int step : test::kSpeedTwoRunSteps) {
        Ticks(1);  // the first tick of the run moves by its step, on both axes
        EXPECT_EQ(Where().x, 200 + moved + step) << "step " << step;
        EXPECT_EQ(Where().y, 900 - moved - step) << "step " << step;
        Ticks(19);
        moved += 20 * step;
    }
}

TEST_F(JoystickToPointerTest, JoystickButtonClicksTheWindowUnderThePointer) {
    EventWindow target(200, 200, 300, 200);
    ASSERT_TRUE(target.Ready());
    ASSERT_TRUE(PadAtRestAt(350, 300));
    ASSERT_TRUE(ClicksOn(target).empty());

    ASSERT_TRUE(Press(0, true));
    EXPECT_EQ(ClicksOn(target), (std::vector<Click>{{ButtonPress, 1}}));
    EXPECT_EQ(engine.HeldButton(), "1");

    Ticks(20);  // held: nothing more
    EXPECT_TRUE(ClicksOn(target).empty());

    ASSERT_TRUE(Press(0, false, 3));
    EXPECT_EQ(ClicksOn(target), (std::vector<Click>{{ButtonRelease, 1}}));
    EXPECT_EQ(engine.HeldButton(), "");

    // Right and middle go to X buttons 3 and 2.
    for (const int press : {1, -1, 2, -2})  // button 1 down, up, button 2 down, up
        ASSERT_TRUE(Press(std::abs(press), press > 0));
    EXPECT_EQ(ClicksOn(target),
              (std::vector<Click>{
                  {ButtonPress, 3}, {ButtonRelease, 3}, {ButtonPress, 2}, {ButtonRelease, 2}}));
}

// Full push: 4.8 120ths a tick at the default speed, so 25 ticks are a notch.
TEST_F(JoystickToPointerTest, RightStickScrollsTheWindowUnderThePointerWithButtons4To7) {
    EventWindow target(200, 200, 300, 200);
    ASSERT_TRUE(target.Ready());
    ASSERT_TRUE(PadAtRestAt(350, 300, 6));
    JoystickInfo caps;
    ReadJoystickInfo(joysticks, settings, caps);
    EXPECT_TRUE(caps.hasScrollStick);
    ASSERT_TRUE(ClicksOn(target).empty());

    struct Push {
        int axis;
        Sint16 value;
        unsigned button;
    };
    for (const Push push :
         {Push{3, kAxisMin, 4}, Push{3, kAxisMax, 5}, Push{2, kAxisMin, 6}, Push{2, kAxisMax, 7}}) {
        SCOPED_TRACE(push.button);
        ASSERT_TRUE(pad->SetAxis(push.axis, push.value));
        Ticks(50);
        ASSERT_TRUE(pad->SetAxis(push.axis, 0));
        Ticks(30);  // released: nothing more
        EXPECT_EQ(ClicksOn(target), (std::vector<Click>{{ButtonPress, push.button},
                                                        {ButtonRelease, push.button},
                                                        {ButtonPress, push.button},
                                                        {ButtonRelease, push.button}}));
    }
    EXPECT_EQ(Where().x, 350);
}

TEST_F(JoystickToPointerTest, UnplugReleasesTheButtonAndReplugResumesMotion) {
    EventWindow target(200, 200, 600, 200);
    ASSERT_TRUE(target.Ready());
    ASSERT_TRUE(PadAtRestAt(300, 300));
    const int index = pad->Index();

    ASSERT_TRUE(pad->SetAxes(kAxisMax, 0));
    ASSERT_TRUE(Press(0, true, 3));
    EXPECT_EQ(Where().x, 306);

    pad->Detach();  // pulled out mid-move with the button held
    Ticks(3);
    EXPECT_EQ(Where().x, 306);
    EXPECT_EQ(ClicksOn(target), (std::vector<Click>{{ButtonPress, 1}, {ButtonRelease, 1}}));

    pad = std::make_unique<VirtualPad>();  // plugged in again
    ASSERT_TRUE(pad->Attached());
    ASSERT_EQ(pad->Index(), index);
    ASSERT_TRUE(Hold(kAxisMax, 0, 1));
    EXPECT_EQ(Where().x, 308);
    Ticks(2);
    EXPECT_EQ(Where().x, 312);
}

// The text at rest comes from a query sent one tick earlier; another client's move shows
// after two ticks at the latest, and no idle tick waits for the server.
TEST_F(JoystickToPointerTest, AtRestTheTextFollowsAnotherClientsMoveWithinTwoTicks) {
    ASSERT_TRUE(PadAtRestAt(400, 300));
    EXPECT_EQ(engine.PositionText(), " 400 -  300");

    // One round trip per idle tick, none waited for: the syncs let each reply arrive in time.
    pointer.SetPrefetchMaxAge(std::chrono::hours(1));
    const auto trips = pointer.RoundTrips();
    const auto waits = pointer.Waits();
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(pointer.Sync() && Ticks(1));
    EXPECT_EQ(pointer.RoundTrips() - trips, 5u + 5u);
    EXPECT_EQ(pointer.Waits() - waits, 5u);

    ASSERT_TRUE(other.PlaceAt(123, 234) && other.Sync());
    Ticks(2);
    EXPECT_EQ(engine.PositionText(), " 123 -  234");

    // A click drops the query sent before it: the next tick asks afresh and waits.
    ASSERT_TRUE(Press(0, true));
    ASSERT_TRUE(Press(0, false));
    ASSERT_TRUE(pointer.Sync());  // a query still pending would now have its reply
    const auto waitsBefore = pointer.Waits();
    Ticks(1);
    EXPECT_EQ(pointer.Waits() - waitsBefore, 1u);
}

TEST_F(JoystickToPointerTest, MovesNeverStartFromTheQuerySentAtRest) {
    ASSERT_TRUE(PadAtRestAt(400, 300));
    ASSERT_TRUE(pointer.Sync());  // the query sent at rest has its answer: (400, 300)

    ASSERT_TRUE(other.PlaceAt(500, 250) && other.Sync());
    ASSERT_TRUE(Hold(kAxisMin, 0, 1));
    EXPECT_EQ(Where().x, 498);
    EXPECT_EQ(Where().y, 250);
}

TEST_F(JoystickToPointerTest, AnAnswerLeftOverFromLongAgoIsNotShown) {
    ASSERT_TRUE(PadAtRestAt(400, 300));
    ASSERT_TRUE(pointer.Sync());
    ASSERT_TRUE(other.PlaceAt(222, 111) && other.Sync());
    // Ticks held up (the poll stopped, a busy event loop): the next one asks afresh.
    std::this_thread::sleep_for(2 * X11Pointer::kPrefetchMaxAge);
    Ticks(1);
    EXPECT_EQ(engine.PositionText(), " 222 -  111");
}

}  // namespace
}  // namespace vantrel
