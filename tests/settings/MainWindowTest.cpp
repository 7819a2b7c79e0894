#include "settings/MainWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

#include "fakes/FakeJoystick.h"
#include "fakes/FakeMouseButtons.h"
#include "fakes/FakePointer.h"

namespace vantrel {
namespace {

struct WindowRig {
    test::FakeJoystick joystick;
    test::FakePointer pointer;
    test::FakeMouseButtons buttons;
    Settings settings = DefaultSettings();
    MainWindow window{joystick, pointer, buttons, settings, 2};

    WindowRig() {
        joystick.Plug(0);
        joystick.Plug(1);
    }
};

TEST(MainWindowTest, HoldsTheNamedTimerAndLabels) {
    WindowRig rig;
    EXPECT_EQ(rig.window.objectName(), "Vantrel");
    EXPECT_EQ(rig.window.findChild<QTimer*>("Timer1"), rig.window.Timer1);
    EXPECT_EQ(rig.window.findChild<QLabel*>("Label1"), rig.window.Label1);
    EXPECT_EQ(rig.window.findChild<QLabel*>("Label2"), rig.window.Label2);
    EXPECT_EQ(rig.window.Timer1->timerType(), Qt::PreciseTimer);
    EXPECT_FALSE(rig.window.Timer1->isActive());
    EXPECT_FALSE(rig.window.isVisible());

    rig.window.StartPolling();
    EXPECT_TRUE(rig.window.Timer1->isActive());
    EXPECT_EQ(rig.window.Timer1->interval(), 5);
}

TEST(MainWindowTest, TickShowsHeldButtonAndPosition) {
    WindowRig rig;
    rig.settings.JoystickId = 1;  // found at start, so it is the one read
    rig.joystick.SetButtons(1, 1);
    rig.joystick.SetAxes(0, 32767, 1);
    rig.window.Timer1_Timer();
    EXPECT_EQ(rig.joystick.lastReadId, 1);
    EXPECT_EQ(rig.window.Label1->text(), "1");
    EXPECT_EQ(rig.window.Label2->text(), " 638 -  512");

    rig.joystick.SetButtons(0, 1);
    rig.window.Timer1_Timer();
    EXPECT_EQ(rig.window.Label1->text(), "");
    EXPECT_EQ(rig.window.Label2->text(), " 636 -  512");
}

TEST(MainWindowTest, TimerDrivesTheTicks) {
    WindowRig rig;
    rig.joystick.SetAxes(65535, 32767);
    rig.window.StartPolling();
    QElapsedTimer clock;
    clock.start();
    while (rig.joystick.stateReads < 5 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_GE(rig.joystick.stateReads, 5);
    EXPECT_GT(rig.pointer.position.x, 640);
}

}  // namespace
}  // namespace vantrel
