// The engine path on a real wlroots compositor: SDL virtual joystick -> SdlJoysticks ->
// PollEngine -> WaylandVirtualPointer -> sway, with wev (a real Wayland client whose window fills
// the output) reporting the pointer motion and buttons it receives. Run by tests/support/with-sway.
// And the portal output on KWin and mutter (PortalToDesktopTest, see with-kwin and with-mutter).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/engine/JoystickDiscovery.h"
#include "core/engine/PollEngine.h"
#include "integration/VirtualPad.h"
#include "platform/joystick/sdl/SdlJoysticks.h"
#include "platform/pointer/portal/PortalPointer.h"
#include "platform/pointer/wlroots/WaylandVirtualPointer.h"
#include "support/ScreenWait.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

using test::VirtualPad;

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

    std::string Text() const {
        std::ifstream in(log_);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Polls the log until `done` holds for it, at most fifteen seconds, running the event loop
    // meanwhile (the portal's answers come through it).
    bool WaitFor(const std::function<bool(const std::string&)>& done) const {
        return test::WaitFor([&] { return done(Text()); }, 15000);
    }

  private:
    std::string log_;
    pid_t pid_ = -1;
};

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

const std::vector<Button> kThreeClicks{{0x110, 1}, {0x110, 0}, {0x111, 1},
                                       {0x111, 0}, {0x112, 1}, {0x112, 0}};

class JoystickToWaylandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("WAYLAND_DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a wlroots compositor (tests/support/with-sway)";
        ASSERT_TRUE(joysticks.Ready());
        ASSERT_TRUE(pad.Attached());
        ASSERT_TRUE(wev.WaitFor([](const std::string& t) {
            return t.find("xdg_toplevel] configure") != std::string::npos;
        })) << wev.Text();
        ASSERT_TRUE(pointer.Ready());
        // Into the bottom-right corner, then well inside wev's window.
        ASSERT_TRUE(pointer.MoveBy(5000, 5000));
        ASSERT_TRUE(pointer.MoveBy(-200, -200));
        ASSERT_TRUE(pointer.Sync());
        ASSERT_TRUE(wev.WaitFor([](const std::string& t) { return !Positions(t).empty(); }))
            << wev.Text();
        settings.JoystickId = static_cast<std::int16_t>(pad.Index());
        engine.SetJoystickCount(CountJoysticks(joysticks));
        engine.Tick();  // at rest
    }

    // Ticks, then waits until wev has reported `motions` positions more than `before`.
    std::vector<Motion> TicksSeen(int ticks, std::size_t before, std::size_t motions) {
        for (int i = 0; i < ticks; ++i) engine.Tick();
        EXPECT_TRUE(pointer.Sync());
        wev.WaitFor([&](const std::string& t) { return Positions(t).size() >= before + motions; });
        const std::vector<Motion> all = Positions(wev.Text());
        return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
    }

    test::TempDir temp;
    Wev wev{(temp.path() / "wev.log").string()};
    SdlJoysticks joysticks;
    VirtualPad pad;
    WaylandVirtualPointer pointer;
    Settings settings = DefaultSettings();
    PollEngine engine{joysticks, pointer, pointer, settings};
};

TEST_F(JoystickToWaylandTest, StickRunArrivesInTheAccelerationTableSteps) {
    const std::size_t before = Positions(wev.Text()).size();
    const Motion start = Positions(wev.Text()).back();
    ASSERT_TRUE(pad.SetAxes(-32768, 0));
    const std::vector<Motion> seen = TicksSeen(100, before, 100);
    ASSERT_EQ(seen.size(), 100u) << wev.Text();
    double x = start.x;
    for (std::size_t tick = 1; tick <= seen.size(); ++tick) {
        SCOPED_TRACE("moving tick " + std::to_string(tick));
        EXPECT_FALSE(seen[tick - 1].enter);
        const int step = tick <= 20 ? 2 : tick <= 40 ? 3 : tick <= 60 ? 4 : tick <= 80 ? 6 : 9;
        EXPECT_EQ(x - seen[tick - 1].x, step);
        EXPECT_EQ(seen[tick - 1].y, start.y);
        x = seen[tick - 1].x;
    }
}

TEST_F(JoystickToWaylandTest, DiagonalTickIsOneMotion) {
    const std::size_t before = Positions(wev.Text()).size();
    const Motion start = Positions(wev.Text()).back();
    ASSERT_TRUE(pad.SetAxes(-32768, -32768));
    const std::vector<Motion> seen = TicksSeen(1, before, 1);
    ASSERT_EQ(seen.size(), 1u) << wev.Text();
    EXPECT_FALSE(seen[0].enter);
    EXPECT_EQ(seen[0].x, start.x - 2);
    EXPECT_EQ(seen[0].y, start.y - 2);
}

TEST_F(JoystickToWaylandTest, JoystickButtonsPressAndReleaseLeftRightMiddle) {
    for (int button = 0; button < 3; ++button) {
        ASSERT_TRUE(pad.SetButton(button, true));
        engine.Tick();
        ASSERT_TRUE(pad.SetButton(button, false));
        engine.Tick();
    }
    ASSERT_TRUE(pointer.Sync());
    ASSERT_TRUE(wev.WaitFor([](const std::string& t) { return Buttons(t).size() >= 6; }));
    EXPECT_EQ(Buttons(wev.Text()), kThreeClicks) << wev.Text();
}

class PortalToDesktopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("WAYLAND_DISPLAY") == nullptr || !PortalPointerOffered())
            GTEST_SKIP() << "needs a desktop with a portal (tests/support/with-kwin, with-mutter)";
        // The first moves, made before the desktop answers and its device exists: to the
        // bottom-right corner, then to (640, 400), inside wev's window (KWin centres it, mutter
        // centres it across, near the top); were the first lost, the second would end outside.
        portal.emplace(temp.path() / "token", [](PortalPointer::Loss) {});  // then MoveBy fails
        ASSERT_TRUE(portal->MoveBy(5000, 5000));
        ASSERT_TRUE(portal->MoveBy(-639, -623));
        // wev holds a pointer once the desktop's device exists (mutter: a moment after the
        // start, maybe after these moves), and the pointer is in its window.
        ASSERT_TRUE(wev.WaitFor(
            [&](const std::string& t) { return portal->Started() && !Positions(t).empty(); }));
        // Then one pixel down and right, after the moves above: seen as such, the pointer is
        // where they put it.
        ASSERT_TRUE(portal->MoveBy(1, 1));
        ASSERT_TRUE(wev.WaitFor([&](const std::string& t) {
            const std::vector<Motion> seen = Positions(t);
            return seen.size() >= 2 && !seen.back().enter &&
                   seen.back().x - seen.end()[-2].x == 1 && seen.back().y - seen.end()[-2].y == 1;
        })) << wev.Text();
    }
    test::TempDir temp;
    Wev wev{(temp.path() / "wev.log").string()};
    std::optional<PortalPointer> portal;
};

TEST_F(PortalToDesktopTest, StepsOfTheAccelerationTableArriveExactly) {
    std::size_t before = Positions(wev.Text()).size();
    const double y = Positions(wev.Text()).back().y;
    // Back and forth, so that the pointer stays in the window; each step once the one before
    // has arrived, as ticks 5 ms apart do.
    for (std::size_t tick = 1; tick <= 100; ++tick) {
        const int step = tick <= 20 ? 2 : tick <= 40 ? 3 : tick <= 60 ? 4 : tick <= 80 ? 6 : 9;
        const int dx = tick <= 40 || (tick > 80 && tick <= 90) ? -step : step;
        ASSERT_TRUE(portal->MoveBy(dx, 0));
        ASSERT_TRUE(
            wev.WaitFor([&](const std::string& t) { return Positions(t).size() > before; }));
        const std::vector<Motion> seen = Positions(wev.Text());
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
    ASSERT_TRUE(wev.WaitFor([](const std::string& t) { return Buttons(t).size() >= 6; }));
    EXPECT_EQ(Buttons(wev.Text()), kThreeClicks) << wev.Text();
}

}  // namespace
}  // namespace vantrel
