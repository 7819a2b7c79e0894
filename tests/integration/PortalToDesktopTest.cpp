// The portal output on real desktops: PortalPointer -> xdg-desktop-portal -> KWin through KDE's
// backend (tests/support/with-kwin) or mutter through the test backend that forwards to mutter's
// own remote-desktop service (with-portal --forward-to-mutter with-mutter), with wev, a real
// Wayland client, in a window of that compositor reporting what arrives.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/pointer/portal/PortalPointer.h"
#include "support/TempDir.h"
#include "support/Wev.h"

namespace vantrel {
namespace {

using test::Positions;

// Runs the event loop until `done` holds, at most fifteen seconds.
bool WaitUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 15000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class PortalToDesktopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("WAYLAND_DISPLAY") == nullptr || !PortalPointerOffered())
            GTEST_SKIP() << "needs a desktop with a portal (tests/support/with-kwin, with-mutter)";
        ASSERT_TRUE(WaitUntil([&] {
            return wev.Text().find("xdg_toplevel] configure") != std::string::npos;
        })) << wev.Text();
        // The session's first moves, made before the desktop answers and before its device
        // exists: to the bottom-right corner, then to (640, 400), inside wev's window (KWin
        // centres it, mutter centres it across, near the top). Had the first been lost, the
        // second would end at the top edge, outside it.
        portal.emplace(temp.path() / "token", [this](PortalPointer::Loss) { lost = true; });
        ASSERT_TRUE(portal->MoveBy(5000, 5000));
        ASSERT_TRUE(portal->MoveBy(-639, -623));
        ASSERT_TRUE(WaitUntil([&] { return portal->Started(); }));
        // Then one pixel down and right: seen as such, the pointer is where the table starts.
        ASSERT_TRUE(portal->MoveBy(1, 1));
        ASSERT_TRUE(WaitUntil([&] {
            const std::vector<test::Motion> seen = Positions(wev.Text());
            const std::size_t n = seen.size();
            return n >= 2 && !seen[n - 1].enter && seen[n - 1].x - seen[n - 2].x == 1 &&
                   seen[n - 1].y - seen[n - 2].y == 1;
        })) << wev.Text();
    }
    void TearDown() override { EXPECT_FALSE(lost); }

    test::TempDir temp;
    test::Wev wev{(temp.path() / "wev.log").string()};
    std::optional<PortalPointer> portal;
    bool lost = false;
};

TEST_F(PortalToDesktopTest, StepsOfTheAccelerationTableArriveExactly) {
    const std::size_t before = Positions(wev.Text()).size();
    // The engine's steps, turning back and forth so that the pointer stays inside the window;
    // each once the one before has arrived, as ticks 5 ms apart do.
    std::vector<int> steps;
    for (std::size_t tick = 1; tick <= 100; ++tick) {
        const int step = tick <= 20 ? 2 : tick <= 40 ? 3 : tick <= 60 ? 4 : tick <= 80 ? 6 : 9;
        const bool left = tick <= 40 || (tick > 80 && tick <= 90);
        steps.push_back(left ? -step : step);
        ASSERT_TRUE(portal->MoveBy(steps.back(), 0));
        ASSERT_TRUE(WaitUntil([&] { return Positions(wev.Text()).size() >= before + tick; }))
            << wev.Text();
    }
    const std::vector<test::Motion> seen = Positions(wev.Text());
    ASSERT_EQ(seen.size(), before + 100) << wev.Text();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i + 1));
        EXPECT_FALSE(seen[before + i].enter);
        EXPECT_EQ(seen[before + i].x - seen[before + i - 1].x, steps[i]);
        EXPECT_EQ(seen[before + i].y, seen[before - 1].y);
    }
}

TEST_F(PortalToDesktopTest, ButtonsArriveAsPressAndRelease) {
    for (const auto event :
         {MouseButtonEvent::LeftDown, MouseButtonEvent::LeftUp, MouseButtonEvent::RightDown,
          MouseButtonEvent::RightUp, MouseButtonEvent::MiddleDown, MouseButtonEvent::MiddleUp})
        portal->Send(event);
    ASSERT_TRUE(WaitUntil([&] { return test::Buttons(wev.Text()).size() >= 6; })) << wev.Text();
    EXPECT_EQ(test::Buttons(wev.Text()),
              (std::vector<test::Button>{
                  {0x110, 1}, {0x110, 0}, {0x111, 1}, {0x111, 0}, {0x112, 1}, {0x112, 0}}))
        << wev.Text();
}

}  // namespace
}  // namespace vantrel
