// The portal output against the real xdg-desktop-portal and the project's test backend, which
// records every call it gets (run by tests/support/with-portal): the engine's steps and the
// buttons as the desktop receives them, events made before the person answered, and each way
// the session can be lost.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStringList>
#include <vector>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "core/engine/PollEngine.h"
#include "platform/pointer/portal/PortalPointer.h"
#include "support/EngineRig.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

using Loss = PortalPointer::Loss;

// Runs the event loop until `done` holds, at most ten seconds.
bool WaitUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class PortalPointerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("XDG_DESKTOP_PORTAL_DIR") == nullptr)
            GTEST_SKIP() << "needs the test portal (tests/support/with-portal)";
        ASSERT_TRUE(control.isValid()) << control.lastError().message().toStdString();
        ASSERT_TRUE(control.call(QStringLiteral("Reset")).errorMessage().isEmpty());
        ASSERT_TRUE(PortalPointerOffered());
    }

    // The portal's session, asked for now; the backend answers Start with `answer` after
    // `delayMs`.
    PortalPointer& Open(unsigned answer = 0, unsigned delayMs = 0) {
        control.call(QStringLiteral("AnswerStart"), answer, delayMs);
        return portal.emplace(
            temp.path() / "token", [this](Loss loss) { losses.push_back(loss); },
            std::chrono::milliseconds(0));
    }
    // The calls the backend has received, those matching `pattern`.
    std::vector<std::string> Calls(const char* pattern = "") {
        const QDBusReply<QStringList> calls = control.call(QStringLiteral("Calls"));
        std::vector<std::string> out;
        for (const QString& call : calls.value().filter(QRegularExpression(pattern)))
            out.push_back(call.toStdString());
        return out;
    }
    // The calls that carry pointer events, once `count` of them have arrived.
    std::vector<std::string> Events(std::size_t count) {
        std::vector<std::string> events;
        WaitUntil([&] { return (events = Calls("^(Motion|Button) ")).size() >= count; });
        return events;
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
    ASSERT_TRUE(output.MoveBy(1, 0));  // taken once the session runs
    ASSERT_TRUE(WaitUntil([&] { return output.Started(); }));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"CreateSession", "SelectDevices [('types', 2)]",
                                                 "Start", "Motion 1.0 0.0"}));

    rig.joystick.SetAxes(test::kLow, test::kHigh);  // left and down
    // A tick each time the previous one was taken, as 5 ms apart they are.
    for (std::size_t tick = 0; tick < 100; ++tick) {
        engine.Tick();
        ASSERT_TRUE(WaitUntil([&] { return Calls("^Motion").size() == tick + 2; }));
    }
    rig.joystick.SetAxes(test::kRest, test::kRest);
    for (int button = 0; button < 3; ++button) {
        rig.joystick.SetButtons(1u << button);
        engine.Tick();
        rig.joystick.SetButtons(0);
        engine.Tick();
    }
    std::vector<std::string> expected{"Motion 1.0 0.0"};
    for (int tick = 1; tick <= 100; ++tick) {
        const int step = tick <= 20 ? 2 : tick <= 40 ? 3 : tick <= 60 ? 4 : tick <= 80 ? 6 : 9;
        expected.push_back("Motion -" + std::to_string(step) + ".0 " + std::to_string(step) + ".0");
    }
    for (const std::string code : {"272", "273", "274"})
        expected.insert(expected.end(), {"Button " + code + " 1", "Button " + code + " 0"});
    EXPECT_EQ(Events(107), expected);
    EXPECT_TRUE(losses.empty());
}

TEST_F(PortalPointerTest, EventsBeforeTheAnswerArriveAfterItInOrder) {
    PortalPointer& output = Open(0, 300);
    ASSERT_TRUE(output.MoveBy(2, 0));
    ASSERT_TRUE(output.MoveBy(3, -1));
    ASSERT_TRUE(output.MoveBy(-1, 0));  // turning back: a sum would stop elsewhere at an edge
    output.Send(MouseButtonEvent::LeftDown);
    ASSERT_TRUE(output.MoveBy(4, 0));
    output.Send(MouseButtonEvent::LeftUp);
    EXPECT_FALSE(output.Started());
    EXPECT_EQ(Events(5),
              (std::vector<std::string>{"Motion 5.0 -1.0", "Motion -1.0 0.0", "Button 272 1",
                                        "Motion 4.0 0.0", "Button 272 0"}));
    EXPECT_EQ(Calls()[2], "Start");  // the events came after it
}

// How the session ends, and what the output must say about it.
struct LossCase {
    const char* name;
    unsigned startAnswer;  // 1: the person said no
    std::function<void(QDBusInterface& control)> end;
    Loss expected;
};

class PortalLossTest : public PortalPointerTest, public ::testing::WithParamInterface<LossCase> {};

TEST_P(PortalLossTest, SaysOnceAndStopsSending) {
    const LossCase& c = GetParam();
    PortalPointer& output = Open(c.startAnswer);
    ASSERT_TRUE(output.MoveBy(1, 1));
    if (c.startAnswer == 0) {
        ASSERT_TRUE(WaitUntil([&] { return output.Started(); }));
        c.end(control);
    }
    ASSERT_TRUE(WaitUntil([&] { return !losses.empty(); }));
    EXPECT_EQ(losses, std::vector<Loss>{c.expected});
    EXPECT_FALSE(output.MoveBy(2, 2));
    output.Send(MouseButtonEvent::RightDown);
    QCoreApplication::processEvents();
    EXPECT_EQ(Calls("^(Motion 2.0|Button)"), std::vector<std::string>{});
    EXPECT_EQ(losses.size(), 1u);
}

void KillThePortal(QDBusInterface&) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusReply<uint> pid =
        bus.interface()->servicePid(QStringLiteral("org.freedesktop.portal.Desktop"));
    ASSERT_TRUE(pid.isValid());
    kill(static_cast<pid_t>(pid.value()), SIGTERM);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, PortalLossTest,
    ::testing::Values(LossCase{"PersonSaysNo", 1, nullptr, Loss::Refused},
                      LossCase{"DesktopClosesTheSession", 0,
                               [](QDBusInterface& control) {
                                   control.call(QStringLiteral("CloseSessions"));
                               },
                               Loss::Closed},
                      LossCase{"PortalGoesAway", 0, KillThePortal, Loss::Closed}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantrel
