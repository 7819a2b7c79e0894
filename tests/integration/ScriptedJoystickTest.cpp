// The tray application asleep and awake with a joystick SDL itself finds: a scripted evdev pad
// (umockdev, run under umockdev-wrapper and Xvfb), the real SDL backend, the real udev wake
// source and the real X11 pointer. Every wait is for the state the step expects.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTimer>
#include <memory>

#include "platform/joystick/sdl/SdlJoysticks.h"
#include "platform/pointer/xtest/X11Pointer.h"
#include "platform/wake/udev/UdevWakeSource.h"
#include "support/ScreenWait.h"
#include "support/ScriptedJoystick.h"
#include "support/TempDir.h"
#include "support/XInput.h"
#include "support/fakes/FakeDesktop.h"
#include "ui/TrayApplication.h"

namespace vantrel {
namespace {

using test::WaitFor;

constexpr int kPushed = 32767;

class ScriptedJoystickTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
        ASSERT_TRUE(pad_.Ready()) << "run under umockdev-wrapper";
        std::filesystem::copy(std::filesystem::path(VANTREL_SOURCE_DIR) / "resources" / "Lang",
                              folder_ / "Lang");
        desktop_.locale = FakeLocale("en", "US");
        window_ = std::make_unique<TrayApplication>(
            state_, desktop_.Ports(joysticks_, pointer_, pointer_, &wake_),
            test::LocationIn(folder_.path()));
        window_->Initialize();
        ASSERT_EQ(window_->Start(), StartOutcome::Running);
    }
    void TearDown() override {
        if (window_) window_->Shutdown();
    }

    bool Asleep() const {
        return window_->Scheduler().Asleep() && !window_->PollTimer()->isActive();
    }
    // Where the server has the pointer and whether its left button is down.
    static int PointerX() { return test::XPointer().x; }
    static bool LeftDown() { return test::XPointer().leftDown; }

    test::ScriptedJoystick pad_;  // before SDL starts, so its first scan finds the pad
    test::TempDir folder_;
    SdlJoysticks joysticks_;
    X11Pointer pointer_;
    UdevWakeSource wake_{[this](int id) { return joysticks_.DeviceNode(id); }, true};
    test::FakeDesktop desktop_;
    ProgramState state_;
    std::unique_ptr<TrayApplication> window_;
};

TEST_F(ScriptedJoystickTest, SleepsAtRestMovesAndClicksOnEventsAndStopsWhenUnplugged) {
    EXPECT_EQ(joysticks_.DeviceNode(0), pad_.Node());
    ASSERT_TRUE(WaitFor([this] { return Asleep(); })) << "never fell asleep at rest";

    ASSERT_TRUE(pointer_.PlaceAt(400, 300) && pointer_.Sync());
    pad_.Report(kPushed, 0, 0);
    ASSERT_TRUE(WaitFor([this] { return PointerX() > 420; })) << "the stick moved nothing";
    pad_.Report(0, 0, 0);
    ASSERT_TRUE(WaitFor([this] { return Asleep(); })) << "did not sleep again after the move";
    const int stopped = PointerX();

    pad_.Report(0, 0, 1);
    EXPECT_TRUE(WaitFor([this] { return LeftDown(); })) << "button 1 clicked nothing";
    EXPECT_EQ(window_->Engine().HeldButton(), "1");
    pad_.Report(0, 0, 0);
    EXPECT_TRUE(WaitFor([this] { return !LeftDown() && Asleep(); }));
    EXPECT_EQ(PointerX(), stopped);

    // Pulled out while pushed with the button held: the button goes up, the pointer stops and
    // the program sleeps on, waiting for a joystick to come.
    pad_.Report(kPushed, 0, 1);
    ASSERT_TRUE(WaitFor([&] { return LeftDown() && PointerX() > stopped; }));
    pad_.Unplug();
    EXPECT_TRUE(WaitFor([this] { return !LeftDown() && Asleep(); })) << "no clean stop";
    EXPECT_EQ(joysticks_.DeviceNode(0), std::nullopt);
    EXPECT_EQ(window_->Engine().HeldButton(), "");
    const int unplugged = PointerX();
    test::Settle(50);  // asleep: nothing moves it on
    EXPECT_EQ(PointerX(), unplugged);
}

}  // namespace
}  // namespace vantrel
