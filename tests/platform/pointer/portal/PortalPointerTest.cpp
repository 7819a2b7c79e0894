// The portal output against the real xdg-desktop-portal and the project's test backend, which
// records every call it gets (tests/support/with-portal): the engine's steps, the buttons and the
// scrolls as the desktop receives them, events made before the answer, and each way the session
// ends. And how each desktop's axes are read.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QRegularExpression>

#include <optional>

#include "platform/pointer/portal/PortalPointer.h"
#include "support/AccelerationRun.h"
#include "support/EngineRig.h"
#include "support/ScreenWait.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

using Loss = PortalPointer::Loss;
using Calls = std::vector<std::string>;
const QString kPortalName = QStringLiteral("org.freedesktop.portal.Desktop");

class PortalPointerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!control.call(QStringLiteral("Reset")).errorMessage().isEmpty())
            GTEST_SKIP() << "needs the test portal (tests/support/with-portal)";
        ASSERT_TRUE(PortalPointerOffered());
    }
    // The output closes its session as it goes; the close reaches the backend a moment later,
    // so wait for it here rather than find it among the next test's calls.
    void TearDown() override {
        const bool open = portal && losses.empty() && !Received("^CreateSession").empty();
        portal.reset();
        if (open) Received("^Close ", 1);
    }
    // The session, asked for now; the backend answers Start with `answer` after `delayMs`.
    PortalPointer& Open(unsigned answer = 0, unsigned delayMs = 0) {
        control.call(QStringLiteral("AnswerStart"), answer, delayMs);
        return portal.emplace(
            temp.path() / "token", [this](Loss loss) { losses.push_back(loss); }, PortalAxes{},
            std::chrono::milliseconds(0));
    }
    // The calls the backend has received that match `pattern`, once `count` of them have.
    Calls Received(const char* pattern = "", std::size_t count = 0) {
        Calls out;
        test::WaitFor(
            [&] {
                const QDBusReply<QStringList> all = control.call(QStringLiteral("Calls"));
                out.clear();
                for (const QString& call : all.value().filter(QRegularExpression(pattern)))
                    out.push_back(call.toStdString());
                return out.size() >= count;
            },
            30000);
        return out;
    }

    QDBusInterface control{QStringLiteral("org.freedesktop.impl.portal.desktop.vantreltest"),
                           QStringLiteral("/org/vantrel/PortalTest"),
                           QStringLiteral("org.vantrel.PortalTest")};
    test::TempDir temp;
    std::vector<Loss> losses;
    std::optional<PortalPointer> portal;
};

TEST_F(PortalPointerTest, AsksForAPointerAndSendsTheEngineStepsAndButtons) {
    test::EngineRig rig;
    PortalPointer& output = Open();
    PollEngine engine{rig.joystick, output, output, rig.settings};
    rig.joystick.SetAxes(test::kLow, test::kHigh);  // left and down
    Calls expected;
    // Each tick once the one before was taken, as ticks 5 ms apart are.
    for (std::size_t tick = 1; tick <= 100; ++tick) {
        engine.Tick();
        const std::string step = std::to_string(test::SpeedTwoStep(tick));
        expected.push_back("Motion -" + step + ".0 " + step + ".0");
        ASSERT_EQ(Received("^Motion", tick).size(), tick);
    }
    rig.joystick.SetAxes(test::kRest, test::kRest);
    for (const int button : {0, 1, 2}) {
        rig.joystick.SetButtons(1u << button);
        engine.Tick();
        rig.joystick.SetButtons(0);
        engine.Tick();
        const std::string code = std::to_string(272 + button);
        expected.insert(expected.end(), {"Button " + code + " 1", "Button " + code + " 0"});
    }
    EXPECT_EQ(Received("^(Motion|Button) ", 106), expected);
}

TEST_F(PortalPointerTest, EventsBeforeTheAnswerArriveAfterItInOrder) {
    PortalPointer& output = Open(0, 300);
    ASSERT_TRUE(output.MoveBy(2, 0));
    ASSERT_TRUE(output.MoveBy(3, -1));
    ASSERT_TRUE(output.MoveBy(-1, 0));  // turning back: a sum would stop elsewhere at an edge
    output.Send(MouseButtonEvent::LeftDown);
    ASSERT_TRUE(output.MoveBy(4, 0));
    output.Send(MouseButtonEvent::LeftUp);
    output.EndScroll();  // no scroll yet: nothing to finish
    // A notch up and half a notch left and down: one call, in GNOME's units (10 a notch, down
    // and right positive); the finish once, however often the stick is back.
    ASSERT_TRUE(output.ScrollBy(0, 120));
    ASSERT_TRUE(output.ScrollBy(-60, -60));
    output.EndScroll();
    output.EndScroll();
    ASSERT_TRUE(output.ScrollBy(0, -12));
    EXPECT_FALSE(output.Started());
    EXPECT_EQ(Received("", 11),
              (Calls{"CreateSession", "SelectDevices [('types', 2)]", "Start", "Motion 5.0 -1.0",
                     "Motion -1.0 0.0", "Button 272 1", "Motion 4.0 0.0", "Button 272 0",
                     "Axis -5.0 -5.0", "Axis 0.0 0.0 finish", "Axis 0.0 1.0"}));
}

enum class End { PersonSaysNo, DesktopClosesTheSession, PortalGoesAway };

class PortalLossTest : public PortalPointerTest, public ::testing::WithParamInterface<End> {};

TEST_P(PortalLossTest, SaysOnceAndStopsSending) {
    const End end = GetParam();
    PortalPointer& output = Open(end == End::PersonSaysNo ? 1 : 0);
    ASSERT_TRUE(output.MoveBy(1, 1));
    if (end != End::PersonSaysNo) {
        ASSERT_EQ(Received("^Motion", 1).size(), 1u);
    }
    if (end == End::DesktopClosesTheSession) control.call(QStringLiteral("CloseSessions"));
    const auto bus = QDBusConnection::sessionBus().interface();
    if (end == End::PortalGoesAway) kill(bus->servicePid(kPortalName).value(), SIGTERM);
    test::WaitFor([&] { return !losses.empty(); }, 30000);
    EXPECT_FALSE(output.MoveBy(2, 2));
    output.Send(MouseButtonEvent::RightDown);
    EXPECT_FALSE(output.ScrollBy(0, 120));
    EXPECT_EQ(Received("^(Motion 2.0|Button|Axis)"), Calls{});
    EXPECT_EQ(losses, std::vector<Loss>{end == End::PersonSaysNo ? Loss::Refused : Loss::Closed});
}

INSTANTIATE_TEST_SUITE_P(Ends, PortalLossTest,
                         ::testing::Values(End::PersonSaysNo, End::DesktopClosesTheSession,
                                           End::PortalGoesAway));

TEST(PortalAxesTest, FirstKnownDesktopNamedDecidesElseGnomes) {
    const struct {
        const char* desktops;
        double perNotch, down;
    } cases[] = {{"KDE", 15, -1},      {"ubuntu:GNOME", 10, 1}, {"X-Custom:KDE", 15, -1},
                 {"GNOME:KDE", 10, 1}, {"KDEX", 10, 1},         {"", 10, 1}};
    for (const auto& c : cases) {
        const PortalAxes axes = PortalAxesFor(c.desktops);
        EXPECT_EQ(axes.perNotch, c.perNotch) << c.desktops;
        EXPECT_EQ(axes.down, c.down) << c.desktops;
    }
}

}  // namespace
}  // namespace vantrel
