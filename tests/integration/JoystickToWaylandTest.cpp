// The engine path on a real wlroots compositor: SDL virtual joystick -> SdlJoysticks ->
// PollEngine -> WaylandVirtualPointer -> sway, with wev (a real Wayland client whose window fills
// the output) reporting the pointer motion and buttons it receives. Run by tests/support/with-sway.
// And the portal output on KWin and mutter (PortalToDesktopTest, see with-kwin and with-mutter).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "core/engine/JoystickDiscovery.h"
#include "core/engine/PollEngine.h"
#include "integration/VirtualPad.h"
#include "platform/joystick/sdl/SdlJoysticks.h"
#include "platform/pointer/portal/PortalPointer.h"
#include "platform/pointer/wlroots/WaylandVirtualPointer.h"
#include "support/AccelerationRun.h"
#include "support/ScreenWait.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

using test::VirtualPad;

// A pointer position wev reported: from an enter (the pointer came over its window) or a motion.
struct Motion {
    bool enter;
    double x, y;
};
struct Button {
    int code, state;
    bool operator==(const Button&) const = default;
};

// The matches of `pattern`, each once: where the compositor announces the pointer twice (KWin)
// wev holds two wl_pointer objects and logs every event twice, the same but for the object.
std::vector<std::smatch> EventsOnce(const std::string& text, const std::regex& pattern) {
    std::vector<std::smatch> out;
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
        if (out.empty() || out.back().str() != it->str()) out.push_back(*it);
    return out;
}

std::vector<Motion> Positions(const std::string& text) {
    static const std::regex position(R"((enter|motion): [^\n]*?x, y: ([-0-9.]+), ([-0-9.]+))");
    std::vector<Motion> out;
    for (const std::smatch& m : EventsOnce(text, position))
        out.push_back({m[1] == "enter", std::stod(m[2]), std::stod(m[3])});
    return out;
}

std::vector<Button> Buttons(const std::string& text) {
    static const std::regex button(
        R"(button: serial: \d+; time: \d+; button: (\d+) .*?state: (\d))");
    std::vector<Button> out;
    for (const std::smatch& m : EventsOnce(text, button))
        out.push_back({std::stoi(m[1]), std::stoi(m[2])});
    return out;
}

// The sums of the (horizontal, vertical) scroll values wev reported. Each event counts once:
// where KWin announces the pointer twice, wev reports it twice, time stamp and all.
std::pair<double, double> ScrolledSoFar(const std::string& text) {
    static const std::regex axis(R"(axis: time: \d+; axis: (\d) \(\w+\), value: ([-0-9.]+))");
    std::pair<double, double> sums;
    std::vector<std::string> seen;
    for (std::sregex_iterator it(text.begin(), text.end(), axis), end; it != end; ++it) {
        if (std::find(seen.begin(), seen.end(), it->str()) != seen.end()) continue;
        seen.push_back(it->str());
        ((*it)[1] == "0" ? sums.second : sums.first) += std::stod((*it)[2]);
    }
    return sums;
}

// wev in its own process group, its output line-buffered into a file by `script`.
class Wev {
  public:
    explicit Wev(std::string log) : log_(std::move(log)) {
        pid_ = fork();
        if (pid_ == 0) {
            setpgid(0, 0);
            execlp("script", "script", "-qfc", "wev", log_.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Wev() {
        if (pid_ <= 0) return;
        kill(-pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    Wev(const Wev&) = delete;
    Wev& operator=(const Wev&) = delete;

    std::string Text() const { return test::ReadFile(log_); }
    std::vector<Motion> Seen() const { return Positions(Text()); }
    // Polls the log until `done` holds for it, at most thirty seconds, running the event loop
    // meanwhile (the portal's answers come through it). A failure shows the log.
    ::testing::AssertionResult WaitFor(const std::function<bool(const std::string&)>& done) const {
        if (test::WaitFor([&] { return done(Text()); }, 30000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "wev reported:\n" << Text();
    }
    ::testing::AssertionResult WaitForText(const char* part) const {
        return WaitFor([part](const std::string& t) { return t.find(part) != std::string::npos; });
    }
    ::testing::AssertionResult WaitForButtons(const std::vector<Button>& buttons) const {
        return WaitFor([&](const std::string& t) { return Buttons(t) == buttons; });
    }
    // Until wev's last report is a motion by (dx, dy) from the position reported before it.
    ::testing::AssertionResult WaitForLastMotion(double dx, double dy) const {
        return WaitFor([=](const std::string& t) {
            const std::vector<Motion> seen = Positions(t);
            return seen.size() >= 2 && !seen.back().enter &&
                   seen.back().x - seen.end()[-2].x == dx && seen.back().y - seen.end()[-2].y == dy;
        });
    }
    ::testing::AssertionResult WaitForLastPosition(double x, double y) const {
        return WaitFor([=](const std::string& t) {
            const std::vector<Motion> seen = Positions(t);
            return !seen.empty() && seen.back().x == x && seen.back().y == y;
        });
    }

  private:
    std::string log_;
    pid_t pid_ = -1;
};

const std::vector<Button> kThreeClicks{{0x110, 1}, {0x110, 0}, {0x111, 1},
                                       {0x111, 0}, {0x112, 1}, {0x112, 0}};

class JoystickToWaylandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("WAYLAND_DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a wlroots compositor (tests/support/with-sway)";
        ASSERT_TRUE(joysticks.Ready());
        ASSERT_TRUE(pad.Attached());
        ASSERT_TRUE(wev.WaitForText("xdg_toplevel] configure"));
        ASSERT_TRUE(pointer.Ready());
        // Into the bottom-right corner, then well inside wev's window. wev's first report may
        // be where the pointer was before (on a quiet machine it enters the window early), so
        // once the pointer is in, one more pixel up and left: the set-up is over when that
        // move's own motion has arrived, and nothing older can be taken for the start.
        ASSERT_TRUE(pointer.MoveBy(5000, 5000) && pointer.MoveBy(-200, -200) && pointer.Sync());
        // wev's window may be mapped only after those moves, and then nothing is reported until
        // the pointer moves again: nudge it a pixel right and back (never up and left, the step
        // that ends the set-up) until wev sees it inside.
        int nudge = 1;
        ASSERT_TRUE(wev.WaitFor([&](const std::string& t) {
            if (!Positions(t).empty()) return true;
            static_cast<void>(pointer.MoveBy(nudge, 0) && pointer.Sync());
            nudge = -nudge;
            return false;
        }));
        ASSERT_TRUE(pointer.MoveBy(-1, -1) && pointer.Sync());
        ASSERT_TRUE(wev.WaitForLastMotion(-1, -1));
        settings.JoystickId = static_cast<std::int16_t>(pad.Index());
        engine.FollowChosenJoystick();
        engine.Tick();  // at rest
    }

    test::TempDir temp;
    Wev wev{(temp.path() / "wev.log").string()};
    SdlJoysticks joysticks;
    VirtualPad pad{"Vantrel Test Pad", 6};
    WaylandVirtualPointer pointer;
    Settings settings = DefaultSettings();
    PollEngine engine{joysticks, pointer, pointer, settings, &pointer};
};

// The stick held at (x, y) for `ticks` moving ticks, pushing the way of (sx, sy).
struct StickRun {
    Sint16 x, y;
    std::size_t ticks;
    int sx, sy;
};

class StickRunOnWayland : public JoystickToWaylandTest,
                          public ::testing::WithParamInterface<StickRun> {};

TEST_P(StickRunOnWayland, EachTickArrivesAsOneMotionByTheAccelerationTableStep) {
    const StickRun run = GetParam();
    const std::vector<Motion> before = wev.Seen();
    ASSERT_TRUE(pad.SetAxes(run.x, run.y));
    for (std::size_t i = 0; i < run.ticks; ++i) engine.Tick();
    ASSERT_TRUE(pointer.Sync());
    wev.WaitFor(
        [&](const std::string& t) { return Positions(t).size() >= before.size() + run.ticks; });
    const std::vector<Motion> seen = wev.Seen();
    ASSERT_EQ(seen.size(), before.size() + run.ticks) << wev.Text();
    Motion last = before.back();
    for (std::size_t tick = 1; tick <= run.ticks; ++tick) {
        SCOPED_TRACE("moving tick " + std::to_string(tick));
        const Motion& now = seen[before.size() + tick - 1];
        EXPECT_FALSE(now.enter);
        EXPECT_EQ(now.x - last.x, run.sx * test::SpeedTwoStep(tick));
        EXPECT_EQ(now.y - last.y, run.sy * test::SpeedTwoStep(tick));
        last = now;
    }
}

// Along an axis through the whole table; a diagonal tick is one motion, not one per axis.
INSTANTIATE_TEST_SUITE_P(AlongAndAcross, StickRunOnWayland,
                         ::testing::Values(StickRun{-32768, 0, 100, -1, 0},
                                           StickRun{-32768, -32768, 1, -1, -1}));

TEST_F(JoystickToWaylandTest, JoystickButtonsPressAndReleaseLeftRightMiddle) {
    for (int button = 0; button < 3; ++button) {
        ASSERT_TRUE(pad.SetButton(button, true));
        engine.Tick();
        ASSERT_TRUE(pad.SetButton(button, false));
        engine.Tick();
    }
    ASSERT_TRUE(pointer.Sync());
    EXPECT_TRUE(wev.WaitForButtons(kThreeClicks));
}

// Full push on the right stick: 4.8 120ths a tick, a notch every 25 ticks.
TEST_F(JoystickToWaylandTest, RightStickScrollsAsAWheelWithDiscreteNotchesAndAStop) {
    ASSERT_TRUE(pad.SetAxis(3, -32768));  // up: the content goes up, wl_pointer's value < 0
    for (int i = 0; i < 50; ++i) engine.Tick();
    ASSERT_TRUE(pad.SetAxis(3, 0));
    engine.Tick();
    ASSERT_TRUE(pointer.Sync());
    // wev names axis_discrete "axis_stop" but prints its discrete value; the real stop, the
    // last event, has a time. Every scroll is vertical, upwards, from the wheel.
    ASSERT_TRUE(wev.WaitForText("axis_stop: time:"));
    const std::string text = wev.Text();
    static const std::regex scroll(
        R"(wl_pointer\] (axis_source: (\d+)|axis: time: \d+; axis: (\d) \S+, value: ([-0-9.]+)|)"
        R"(axis_stop: axis: (\d) \S+, discrete: (-?\d+)|axis_stop: time: \d+; axis: (\d)))");
    std::vector<int> discrete;
    int values = 0, stops = 0;
    for (std::sregex_iterator it(text.begin(), text.end(), scroll), end; it != end; ++it) {
        const std::smatch& m = *it;
        EXPECT_EQ(stops, 0) << "scrolled after the stop";
        for (const int group : {2, 3, 5, 7})  // the wheel, and the vertical axis throughout
            EXPECT_TRUE(!m[group].matched || m[group] == "0") << m.str();
        EXPECT_TRUE(!m[4].matched || std::stod(m[4]) < 0) << m.str();
        values += m[3].matched ? 1 : 0;
        if (m[6].matched) discrete.push_back(std::stoi(m[6]));
        stops += m[7].matched ? 1 : 0;
    }
    EXPECT_EQ(discrete, (std::vector<int>{-1, -1})) << text;
    EXPECT_EQ(values, 50);  // one a tick; a notch's axis_discrete comes with its axis
    EXPECT_EQ(stops, 1);
}

class PortalToDesktopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("WAYLAND_DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a desktop with a portal (tests/support/with-kwin, with-mutter)";
        ASSERT_TRUE(PortalPointerOffered());
        // The first moves, made before the desktop answers and its device exists: to the
        // bottom-right corner, then to (640, 400), inside wev's window (KWin centres it, mutter
        // centres it across, near the top); were the first lost, the second would end outside.
        const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
        portal.emplace(
            temp.path() / "token", [](PortalPointer::Loss) {},  // then MoveBy fails
            PortalAxesFor(desktops != nullptr ? desktops : ""));
        ASSERT_TRUE(portal->MoveBy(5000, 5000) && portal->MoveBy(-639, -623));
        // wev holds a pointer once the desktop's device exists (mutter: a moment after the
        // start, maybe after these moves), and the pointer is in its window.
        ASSERT_TRUE(wev.WaitFor(
            [&](const std::string& t) { return portal->Started() && !Positions(t).empty(); }));
        // Then one pixel down and right, after the moves above: seen as such, the pointer is
        // where they put it.
        ASSERT_TRUE(portal->MoveBy(1, 1));
        ASSERT_TRUE(wev.WaitForLastMotion(1, 1));
    }
    test::TempDir temp;
    Wev wev{(temp.path() / "wev.log").string()};
    std::optional<PortalPointer> portal;
};

TEST_F(PortalToDesktopTest, StepsOfTheAccelerationTableArriveExactly) {
    std::size_t before = wev.Seen().size();
    const double y = wev.Seen().back().y;
    // Back and forth, so that the pointer stays in the window; each step once the one before
    // has arrived, as ticks 5 ms apart do.
    for (std::size_t tick = 1; tick <= 100; ++tick) {
        const int step = test::SpeedTwoStep(tick);
        const int dx = tick <= 40 || (tick > 80 && tick <= 90) ? -step : step;
        ASSERT_TRUE(portal->MoveBy(dx, 0));
        ASSERT_TRUE(
            wev.WaitFor([&](const std::string& t) { return Positions(t).size() > before; }));
        const std::vector<Motion> seen = wev.Seen();
        ASSERT_EQ(seen.size(), ++before) << wev.Text();
        EXPECT_FALSE(seen.back().enter);
        EXPECT_EQ(seen.back().x - seen.end()[-2].x, dx) << "tick " << tick;
        EXPECT_EQ(seen.back().y, y);
    }
}

TEST_F(PortalToDesktopTest, ButtonsArriveAsPressAndRelease) {
    for (const auto event :
         {MouseButtonEvent::LeftDown, MouseButtonEvent::LeftUp, MouseButtonEvent::RightDown,
          MouseButtonEvent::RightUp, MouseButtonEvent::MiddleDown, MouseButtonEvent::MiddleUp})
        portal->Send(event);
    EXPECT_TRUE(wev.WaitForButtons(kThreeClicks));
}

TEST_F(PortalToDesktopTest, ScrollsArriveSmoothInTheDesktopsNotchesUpAsUp) {
    // A wheel notch as each compositor tells its clients: KWin passes libinput's 15 on, mutter
    // turns a wheel step into 10 (and smooth values to 1/256 of a step).
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    const double notch = desktops != nullptr && std::string(desktops) == "KDE" ? 15 : 10;
    // 120ths of a notch sent, and seen in notches right and down.
    const struct {
        int horizontal, vertical;
        double right, down;
    } cases[] = {{0, 120, 0, -1}, {0, -60, 0, 0.5}, {90, 0, 0.75, 0}, {-30, 240, -0.25, -2}};
    for (const auto& c : cases) {
        const auto [right, down] = ScrolledSoFar(wev.Text());
        ASSERT_TRUE(portal->ScrollBy(c.horizontal, c.vertical));
        portal->EndScroll();
        EXPECT_TRUE(wev.WaitFor([&](const std::string& t) {
            const auto [nowRight, nowDown] = ScrolledSoFar(t);
            return std::abs(nowRight - right - c.right * notch) < 0.05 &&
                   std::abs(nowDown - down - c.down * notch) < 0.05;
        })) << c.horizontal
            << ", " << c.vertical;
    }
}

// The headless sway of tests/support/with-sway, stopped (SIGSTOP) while this lives.
struct StoppedSway {
    pid_t pid = std::atoi(std::getenv("VANTREL_SWAY_PID"));
    StoppedSway() { kill(pid, SIGSTOP); }
    ~StoppedSway() { kill(pid, SIGCONT); }
};

// Sends what waited once the compositor reads again, as the program's timer does.
bool AllSent(WaylandVirtualPointer& pointer) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pointer.SendWaiting() && pointer.Waiting() &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return !pointer.Waiting() && pointer.Sync();
}

// Long enough for the socket to fill (the old output died there, "Resource temporarily
// unavailable"), with motion and a click coming all along: once sway runs again the cursor ends
// where all the motion puts it and the click arrives.
TEST_F(JoystickToWaylandTest, StoppedCompositorGetsAllMotionAndTheClickOnceItRuns) {
    const Motion start = wev.Seen().back();
    int dx = 0;
    {
        const StoppedSway stopped;
        for (int i = 0; i < 100000 && !pointer.Waiting(); ++i) {
            const int step = i % 2 == 0 ? 1 : -1;
            ASSERT_TRUE(pointer.MoveBy(step, 0)) << "move " << i;
            dx += step;
        }
        ASSERT_TRUE(pointer.Waiting());
        for (int i = 0; i < 50; ++i) ASSERT_TRUE(pointer.MoveBy(1, 1));
        pointer.Send(MouseButtonEvent::LeftDown);
        ASSERT_TRUE(pointer.MoveBy(3, 0));
        pointer.Send(MouseButtonEvent::LeftUp);
    }
    ASSERT_TRUE(AllSent(pointer));
    ASSERT_TRUE(pointer.MoveBy(-2, -1));
    ASSERT_TRUE(AllSent(pointer));
    const double x = start.x + dx + 50 + 3 - 2, y = start.y + 50 - 1;
    EXPECT_TRUE(wev.WaitForLastPosition(x, y)) << x << ", " << y << " expected";
    EXPECT_TRUE(wev.WaitForButtons({{0x110, 1}, {0x110, 0}}));
}

TEST_F(JoystickToWaylandTest, BrokenConnectionIsMadeAgainWithANewDevice) {
    const Motion start = wev.Seen().back();
    ASSERT_EQ(shutdown(pointer.SocketForTest(), SHUT_RDWR), 0);
    ASSERT_TRUE(pointer.MoveBy(7, 5) && pointer.Sync());
    EXPECT_FALSE(pointer.Lost());
    // The seat lost its pointer with the old device: wev takes the new one before any click.
    ASSERT_TRUE(wev.WaitForLastPosition(start.x + 7, start.y + 5));
    pointer.Send(MouseButtonEvent::RightDown);
    pointer.Send(MouseButtonEvent::RightUp);
    ASSERT_TRUE(pointer.Sync());
    EXPECT_TRUE(wev.WaitForButtons({{0x111, 1}, {0x111, 0}}));
}

TEST(WaylandVirtualPointerLoss, ConnectionThatCannotBeMadeAgainIsLost) {
    if (std::getenv("WAYLAND_DISPLAY") == nullptr) GTEST_SKIP() << "needs tests/support/with-sway";
    test::TempDir temp;
    const std::filesystem::path link = temp.path() / "wayland-link";
    std::filesystem::create_symlink(std::getenv("WAYLAND_DISPLAY"), link);
    WaylandVirtualPointer pointer(link.c_str());
    ASSERT_TRUE(pointer.Ready());
    std::filesystem::remove(link);
    ASSERT_EQ(shutdown(pointer.SocketForTest(), SHUT_RDWR), 0);
    EXPECT_FALSE(pointer.MoveBy(1, 1));
    EXPECT_TRUE(pointer.Lost() && !pointer.Ready());
}

// A compositor that does not answer while the output is probed, a socket that accepts and never
// reads (false) or sway stopped (true): the probe gives up and counts as not offered.
class UnansweringCompositor : public ::testing::TestWithParam<bool> {};

TEST_P(UnansweringCompositor, ProbeGivesUpAndCountsAsNotOffered) {
    if (std::getenv("WAYLAND_DISPLAY") == nullptr) GTEST_SKIP() << "needs tests/support/with-sway";
    test::TempDir temp;
    const std::string silent = (temp.path() / "silent").string();
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
    silent.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);  // connections wait in the backlog, never read
    std::optional<StoppedSway> stopped;
    if (GetParam()) stopped.emplace();
    const WaylandVirtualPointer pointer(
        GetParam() ? std::getenv("WAYLAND_DISPLAY") : silent.c_str(),
        std::chrono::milliseconds(300));
    EXPECT_FALSE(pointer.Ready());
    close(listener);
}

INSTANTIATE_TEST_SUITE_P(SilentSocketOrStoppedSway, UnansweringCompositor, ::testing::Bool());

}  // namespace
}  // namespace vantrel
