// The tray application asleep and awake with a joystick SDL itself finds: scripted evdev pads
// (umockdev, run under umockdev-wrapper and Xvfb) described as real ones are, the real SDL
// backend, the real udev wake source and the real X11 pointer. Every wait is for the state the
// step expects.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QTimer>
#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/joystick/sdl/SdlJoysticks.h"
#include "platform/pointer/xtest/X11Pointer.h"
#include "platform/wake/udev/UdevWakeSource.h"
#include "support/ScreenWait.h"
#include "support/ScriptedJoystick.h"
#include "support/TempDir.h"
#include "support/XInput.h"
#include "support/fakes/FakeDesktop.h"
#include "support/fakes/FakeScroll.h"
#include "ui/Look.h"
#include "ui/OptionsDialog.h"
#include "ui/TrayApplication.h"
#include "ui/TrayIcon.h"

namespace vantrel {
namespace {

using test::WaitFor;

constexpr int kPushed = 32767;

struct PadCase {
    const char* label;
    const test::EvdevPad* pad;
    std::array<std::int16_t, 3> firstButtons;  // left, right, middle without a settings file
    const char* name = nullptr;                // SDL's own name for the pad; else the node's
    std::array<int, 2> scroll{-1, -1};         // the second stick's evdev codes
};
void PrintTo(const PadCase& c, std::ostream* out) {
    *out << c.label;
}

// The SDL backend, counting the readings the program takes.
struct CountedJoysticks : SdlJoysticks {
    unsigned long readings = 0;
    bool ReadState(int id, JoystickState& state) override {
        ++readings;
        return SdlJoysticks::ReadState(id, state);
    }
};

// The tray application over the real SDL backend, udev wake source and X11 pointer, made in
// SetUp, after the pads of the fixture: SDL's first scan finds them, and the device monitor
// hears the testbed they made.
class ScriptedJoystickRun : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
        std::filesystem::copy(std::filesystem::path(VANTREL_SOURCE_DIR) / "resources" / "Lang",
                              folder_ / "Lang");
        desktop_.locale = FakeLocale("en", "US");
        joysticks_.emplace();
        wake_.emplace([this](int id) { return joysticks_->DeviceNode(id); }, true,
                      [this](int id) { return joysticks_->ScrollAxisCodes(id); });
        window_ = std::make_unique<TrayApplication>(
            state_, desktop_.Ports(*joysticks_, pointer_, pointer_, &*wake_, &scroll_),
            test::LocationIn(folder_.path()));
        window_->Run().Initialize();
        ASSERT_EQ(window_->Run().Start(startedBy_), StartOutcome::Running);
    }
    // Everything that reads the pads goes before the fixture's pads do.
    void TearDown() override {
        if (window_) window_->Run().Shutdown();
        window_.reset();
        wake_.reset();
        joysticks_.reset();
    }

    bool Asleep() const {
        return window_->Run().Scheduler().Asleep() && !window_->PollTimer()->isActive();
    }
    // Until the program reads the pad at `device` (-1: none) and sleeps.
    bool ReadsAsleep(int device) {
        return WaitFor(
            [&] { return window_->Run().Engine().DeviceToRead() == device && Asleep(); });
    }
    // The stick pushed right takes the pointer 20 pixels on; let go, the program sleeps again.
    bool Drives(test::ScriptedJoystick& pad) {
        const int from = PointerX();
        pad.Report(kPushed, 0, 0);
        const bool moved = WaitFor([&] { return PointerX() > from + 20; });
        pad.Report(0, 0, 0);
        return moved && WaitFor([this] { return Asleep(); });
    }
    bool PlacedAndDriven(test::ScriptedJoystick& pad) {
        return pointer_.PlaceAt(400, 300) && pointer_.Sync() && Drives(pad);
    }
    // Where the server has the pointer and whether its left button is down.
    static int PointerX() { return test::XPointer().x; }
    static bool LeftDown() { return test::XPointer().leftDown; }

    StartedBy startedBy_ = StartedBy::User;
    test::TempDir folder_;
    std::optional<CountedJoysticks> joysticks_;
    X11Pointer pointer_;
    test::FakeScroll scroll_;
    std::optional<UdevWakeSource> wake_;
    test::FakeDesktop desktop_;
    ProgramState state_;
    std::unique_ptr<TrayApplication> window_;
};

class ScriptedJoystickTest : public ScriptedJoystickRun,
                             public ::testing::WithParamInterface<PadCase> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pad_.Ready()) << "run under umockdev-wrapper";
        ScriptedJoystickRun::SetUp();
    }
    test::ScriptedJoystick pad_{7, *GetParam().pad};
};

TEST_P(ScriptedJoystickTest, SleepsAtRestMovesAndClicksOnEventsAndStopsWhenUnplugged) {
    EXPECT_EQ(joysticks_->DeviceNode(0), pad_.Node());
    ASSERT_TRUE(WaitFor([this] { return Asleep(); })) << "never fell asleep at rest";
    ASSERT_TRUE(PlacedAndDriven(pad_)) << "the stick moved nothing, or no sleep after the move";
    const int stopped = PointerX();

    pad_.Report(0, 0, 1);
    EXPECT_TRUE(WaitFor([this] { return LeftDown(); })) << "button 1 clicked nothing";
    EXPECT_EQ(window_->Run().Engine().HeldButton(), "1");
    pad_.Report(0, 0, 0);
    EXPECT_TRUE(WaitFor([this] { return !LeftDown() && Asleep(); }));
    EXPECT_EQ(PointerX(), stopped);

    // Pulled out while pushed with the button held: the button goes up, the pointer stops and
    // the program sleeps on, waiting for a joystick to come.
    pad_.Report(kPushed, 0, 1);
    ASSERT_TRUE(WaitFor([&] { return LeftDown() && PointerX() > stopped; }));
    pad_.Unplug();
    EXPECT_TRUE(WaitFor([this] { return !LeftDown() && Asleep(); })) << "no clean stop";
    EXPECT_EQ(joysticks_->DeviceNode(0), std::nullopt);
    EXPECT_EQ(window_->Run().Engine().HeldButton(), "");
    const int unplugged = PointerX();
    test::Settle(50);  // asleep: nothing moves it on
    EXPECT_EQ(PointerX(), unplugged);

    // Plugged back: the same pad, taken at once, with the program asleep until it moves.
    pad_.Plug();
    ASSERT_TRUE(ReadsAsleep(0)) << "the pad back was not taken";
    EXPECT_TRUE(Drives(pad_)) << "the pad back moves nothing";
}

// Two pads of one maker differ only after the 31st byte of their names.
TEST_P(ScriptedJoystickTest, ShowsTheWholeName) {
    JoystickInfo caps;
    ASSERT_TRUE(joysticks_->ReadInfo(0, caps));
    EXPECT_EQ(caps.name, GetParam().name ? GetParam().name : GetParam().pad->name);
}

TEST_P(ScriptedJoystickTest, FirstStartClicksWithTheThumbButtonsAndSavesThem) {
    const auto [left, right, middle] = GetParam().firstButtons;
    EXPECT_EQ(state_.settings.LeftButton, left);
    EXPECT_EQ(state_.settings.RightButton, right);
    EXPECT_EQ(state_.settings.MiddleButton, middle);
    window_->Run().Shutdown();
    EXPECT_EQ(test::ReadFile(folder_ / "Vantrel.ini").substr(0, 9),
              std::to_string(left) + "\r\n" + std::to_string(right) + "\r\n" +
                  std::to_string(middle) + "\r\n");
}

// A stick that jitters by a step at rest (drivers without fuzz) must not cost a tick: the
// program is woken by the button that follows, not before.
TEST_P(ScriptedJoystickTest, JitterAtRestReadsNothing) {
    ASSERT_TRUE(WaitFor([this] { return Asleep(); }));
    const int centre = pad_.Description().axes[0].Middle();
    const unsigned long readings = joysticks_->readings;
    for (int step = 1; step <= 20; ++step) {
        pad_.ReportRaw(centre + step % 2, centre - step % 2, 0);
        ASSERT_TRUE(WaitFor([this] { return pad_.Quiet(); })) << "the node was never read";
    }
    EXPECT_EQ(joysticks_->readings, readings);
    EXPECT_TRUE(Asleep());
    pad_.ReportRaw(centre, centre, 1);
    EXPECT_TRUE(WaitFor([this] { return LeftDown(); })) << "a button after the jitter woke nobody";
    pad_.ReportRaw(centre, centre, 0);
    EXPECT_TRUE(WaitFor([this] { return !LeftDown() && Asleep(); }));
}

// The second stick is the one SDL's mapping names, else the usual evdev pair resting at its
// centre. Only it, pushed past its dead zone, wakes the program, and it scrolls while pushed;
// the other axes pulled to their ends (triggers) wake and scroll nothing.
TEST_P(ScriptedJoystickTest, OnlyTheSecondStickOffCentreWakesAndScrolls) {
    const std::array<int, 2> codes = GetParam().scroll;
    JoystickInfo caps;
    ASSERT_TRUE(joysticks_->ReadInfo(0, caps));
    EXPECT_EQ(caps.hasScrollStick, codes[0] >= 0);
    EXPECT_EQ(joysticks_->ScrollAxisCodes(0), codes);
    ASSERT_TRUE(WaitFor([this] { return Asleep(); }));
    const auto& axes = pad_.Description().axes;
    const unsigned long readings = joysticks_->readings;
    for (std::size_t i = 2; i < axes.size(); ++i) {
        if (axes[i].code == codes[0] || axes[i].code == codes[1]) continue;
        pad_.ReportAxis(axes[i].code, axes[i].maximum);
        ASSERT_TRUE(WaitFor([this] { return pad_.Quiet(); })) << "the node was never read";
    }
    EXPECT_EQ(joysticks_->readings, readings);
    EXPECT_TRUE(scroll_.turns.empty());
    if (codes[0] < 0) return;
    const auto y =
        std::find_if(axes.begin(), axes.end(), [&](auto& a) { return a.code == codes[1]; });
    ASSERT_NE(y, axes.end());
    const int centre = y->Middle();
    pad_.ReportAxis(y->code, centre - (y->maximum - y->minimum) / 20);  // inside the dead zone
    ASSERT_TRUE(WaitFor([this] { return pad_.Quiet(); }));
    EXPECT_EQ(joysticks_->readings, readings);

    pad_.ReportAxis(y->code, y->minimum);  // up
    ASSERT_TRUE(WaitFor([this] { return scroll_.Total().vertical >= 120; })) << "never scrolled";
    EXPECT_EQ(scroll_.Total().horizontal, 0);
    pad_.ReportAxis(y->code, centre);
    EXPECT_TRUE(WaitFor([this] { return Asleep() && scroll_.ends == 1; }));
}

// Without a mapping the buttons stay 1, 2, 3; the mapped pads' are A, B and X (cross, circle
// and square), past the BTN_C of the Xbox pad's generic driver. SDL names the Xbox pad itself.
const PadCase kPads[] = {
    {"Plain", &test::kPlainPad, {1, 2, 3}},
    {"TwinStick", &test::kUnmappedTwinStick, {1, 2, 3}, nullptr, {ABS_RX, ABS_RY}},
    {"TriggersFirst", &test::kUnmappedTriggersFirst, {1, 2, 3}, nullptr, {ABS_Z, ABS_RZ}},
    {"DualShock4", &test::kDualShock4, {1, 2, 4}, nullptr, {ABS_RX, ABS_RY}},
    {"DualSense", &test::kDualSense, {1, 2, 4}, nullptr, {ABS_RX, ABS_RY}},
    {"XboxBluetooth", &test::kXboxBluetooth, {1, 2, 4}, "Xbox One S Controller", {ABS_Z, ABS_RZ}},
};
INSTANTIATE_TEST_SUITE_P(Pads, ScriptedJoystickTest, ::testing::ValuesIn(kPads),
                         [](const auto& info) { return std::string(info.param.label); });

// Pads in one testbed, plugged in as a test says.
class LaterPadsTest : public ScriptedJoystickRun {
  protected:
    test::PadBed bed_;
    std::optional<test::ScriptedJoystick> xbox_, ds4_;
};

// An Xbox 360 pad at the start, a DualShock 4 later: listed in the options dialog, it moves
// nothing, not even while the first is unplugged; the first, back, drives again.
class TwoPadsTest : public LaterPadsTest {
  protected:
    TwoPadsTest() { xbox_.emplace(7, test::kXbox360, &bed_); }
    // The joystick list of the options dialog, as it opens from the tray menu now.
    std::size_t ListedJoysticks() {
        window_->OnMenuChosen(MenuAction::OpenOptions);
        const std::size_t count = window_->Options().Model().List(Choice::Joystick).items.size();
        window_->Options().Unload();
        return count;
    }
};

TEST_F(TwoPadsTest, TheFirstPadDrivesAloneAndAgainWhenItComesBack) {
    ASSERT_TRUE(WaitFor([this] { return Asleep(); }));
    ASSERT_TRUE(PlacedAndDriven(*xbox_)) << "the Xbox pad moved nothing";

    ds4_.emplace(8, test::kDualShock4, &bed_);
    ds4_->Plug();
    ASSERT_TRUE(WaitFor([this] { return ListedJoysticks() == 2; }))
        << "the pad plugged in later is not listed";
    const auto stillFor = [this](test::ScriptedJoystick& pad) {
        const int before = PointerX();
        pad.Report(kPushed, 0, 1);
        test::Settle(100);
        pad.Report(0, 0, 0);
        return PointerX() == before && !LeftDown();
    };
    EXPECT_TRUE(stillFor(*ds4_)) << "the DualShock 4 drives beside the Xbox pad";

    xbox_->Unplug();
    ASSERT_TRUE(ReadsAsleep(-1));
    EXPECT_TRUE(stillFor(*ds4_)) << "the DualShock 4 took over";
    EXPECT_TRUE(Asleep());

    xbox_->Plug();
    ASSERT_TRUE(ReadsAsleep(1)) << "the Xbox pad back was not taken";
    EXPECT_TRUE(Drives(*xbox_)) << "the Xbox pad back moves nothing";
    EXPECT_TRUE(stillFor(*ds4_));
}

// Started at logon before the pad is on: asleep, the icon waiting, no settings written; the pad
// plugged in is taken at once and drives.
class AtLogonTest : public LaterPadsTest {
  protected:
    AtLogonTest() { startedBy_ = StartedBy::Logon; }
};

TEST_F(AtLogonTest, WaitsInTheTrayAsleepThenDrivesWithThePadThatComes) {
    TrayIcon& tray = window_->Tray();
    ASSERT_TRUE(WaitFor([this] { return Asleep(); }));
    EXPECT_EQ(tray.State(), TrayState::WaitingForJoystick);
    EXPECT_EQ(tray.SystemTrayIcon().toolTip().toStdString(),
              state_.texts[TextId::WaitingForJoystick]);
    const QImage greyed = tray.SystemTrayIcon().icon().pixmap(32).toImage();
    EXPECT_EQ(greyed, ProgramIcon().pixmap(QSize(32, 32), QIcon::Disabled).toImage());

    xbox_.emplace(7, test::kXbox360, &bed_);
    xbox_->Plug();
    ASSERT_TRUE(WaitFor([&] { return tray.State() == TrayState::Normal && Asleep(); }))
        << "the pad plugged in was not taken";
    EXPECT_NE(tray.SystemTrayIcon().icon().pixmap(32).toImage(), greyed);
    EXPECT_TRUE(tray.SystemTrayIcon().toolTip().isEmpty());
    EXPECT_TRUE(PlacedAndDriven(*xbox_)) << "the stick moved nothing";
    EXPECT_FALSE(std::filesystem::exists(folder_ / "Vantrel.ini"));
}

}  // namespace
}  // namespace vantrel
