#include "OutputBench.h"

#include <linux/uinput.h>
#include <umockdev.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QProcess>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BenchCommon.h"
#include "core/engine/PollEngine.h"
#include "integration/VirtualPad.h"
#include "platform/joystick/sdl/SdlJoysticks.h"
#include "platform/pointer/portal/PortalPointer.h"
#include "platform/pointer/uinput/UinputPointer.h"
#include "platform/pointer/wlroots/WaylandVirtualPointer.h"
#include "platform/pointer/xtest/X11Pointer.h"
#include "support/ScreenWait.h"
#include "support/TempDir.h"

namespace vantrel::bench {

namespace {

constexpr int kRuns = 11;
constexpr int kTicks = 500;

// The engine's settings for the figures: step 1 without acceleration, the pad's stick.
Settings StepOne(const test::VirtualPad& pad) {
    Settings settings = DefaultSettings();
    settings.PointerSpeed = "1";
    settings.Acceleration = 0;
    settings.JoystickId = static_cast<std::int16_t>(pad.Index());
    return settings;
}

// A moving tick, step 1 without acceleration, the stick reversed every run so that an absolute
// pointer never rests at a screen edge.
void MovingTick(const char* what, SdlJoysticks& joysticks, test::VirtualPad& pad,
                PointerOutput pointer, MouseButtonPort& buttons) {
    const Settings settings = StepOne(pad);
    PollEngine engine(joysticks, pointer, buttons, settings);
    Print(what, MeasureMovingTicks(kRuns, kTicks, pad, engine), 1000, "us");
    pad.SetAxes(0, 0);
    engine.Tick();
}

// umockdev's stand-in for /dev/uinput, when the process runs under umockdev-wrapper and the
// machine has no writable uinput: every ioctl and write is answered at once by a handler thread,
// so the figure is one socket round trip per write instead of the kernel's input path.
gboolean CompleteIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer) {
    umockdev_ioctl_client_complete(client, 0, 0);
    return TRUE;
}
gboolean CompleteWrite(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer) {
    umockdev_ioctl_client_complete(client, umockdev_ioctl_client_get_arg(client)->data_len, 0);
    return TRUE;
}

struct MockUinput {
    MockUinput() {
        testbed = umockdev_testbed_new();
        umockdev_testbed_add_from_string(
            testbed,
            "P: /devices/virtual/misc/uinput\nN: uinput\n"
            "E: DEVNAME=/dev/uinput\nE: SUBSYSTEM=misc\nA: dev=10:223\n",
            nullptr);
        handler = umockdev_ioctl_base_new();
        g_signal_connect(handler, "handle-ioctl", G_CALLBACK(CompleteIoctl), nullptr);
        g_signal_connect(handler, "handle-write", G_CALLBACK(CompleteWrite), nullptr);
        umockdev_testbed_attach_ioctl(testbed, "/dev/uinput", handler, nullptr);
    }
    ~MockUinput() {
        g_object_unref(handler);
        g_object_unref(testbed);
    }
    MockUinput(const MockUinput&) = delete;
    MockUinput& operator=(const MockUinput&) = delete;
    UMockdevTestbed* testbed;
    UMockdevIoctlBase* handler;
};

bool UnderUmockdev() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload != nullptr && std::strstr(preload, "umockdev") != nullptr;
}

// Moving ticks through the portal (the real xdg-desktop-portal and its test backend) as the
// program makes them, the next once the desktop has answered: the tick's own time, the time to
// the desktop's answer, and the D-Bus messages per tick on the program's connection, counted by
// dbus-monitor.
void PortalMovingTicks(SdlJoysticks& joysticks, test::VirtualPad& pad) {
    int argc = 1;
    char name[] = "vantrel_bench";
    char* argv[] = {name, nullptr};
    std::optional<QCoreApplication> app;
    if (QCoreApplication::instance() == nullptr) app.emplace(argc, argv);
    const test::TempDir temp;
    bool lost = false;
    PortalPointer portal(
        temp.path() / "token", [&](PortalPointer::Loss) { lost = true; }, PortalAxes{},
        std::chrono::milliseconds(0));
    portal.MoveBy(1, 0);
    if (!test::WaitFor([&] { return portal.AllTaken() || lost; }, 10000) || lost) {
        std::printf("portal: skipped, the session did not start\n");
        return;
    }
    const QString self = QDBusConnection::sessionBus().baseService();
    QProcess monitor;
    monitor.start(QStringLiteral("dbus-monitor"),
                  {QStringLiteral("--session"), QStringLiteral("sender='%1'").arg(self),
                   QStringLiteral("destination='%1'").arg(self)});
    // It says it has connected (its own name) before it watches.
    test::WaitFor([&] { return monitor.bytesAvailable() > 0; }, 5000);
    monitor.readAll();

    const Settings settings = StepOne(pad);
    PollEngine engine(joysticks, portal, portal, settings);
    pad.SetAxes(-32768, 0);
    constexpr int kPortalTicks = 2000;
    std::vector<double> tickUs, answerUs;
    for (int i = 0; i < kPortalTicks; ++i) {
        const auto start = Clock::now();
        engine.Tick();
        const auto sent = Clock::now();
        while (!portal.AllTaken() && Clock::now() - start < std::chrono::seconds(1))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        tickUs.push_back(std::chrono::duration<double, std::micro>(sent - start).count());
        answerUs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    pad.SetAxes(0, 0);
    engine.Tick();
    test::WaitFor([] { return false; }, 300);  // the monitor's last lines
    monitor.terminate();
    monitor.waitForFinished();
    const QString seen = QString::fromUtf8(monitor.readAll());
    const auto messages =
        seen.count(QRegularExpression(QStringLiteral("^(method call|method return|signal|error) "),
                                      QRegularExpression::MultilineOption));
    std::printf("%-58s median %9.2f us   p90 %9.2f us\n", "portal: tick (the call handed over)",
                Percentile(tickUs, 50), Percentile(tickUs, 90));
    std::printf("%-58s median %9.2f us   p90 %9.2f us\n", "portal: tick to the desktop's answer",
                Percentile(answerUs, 50), Percentile(answerUs, 90));
    std::printf("%-58s %9.2f\n", "portal: D-Bus messages per tick (program's connection)",
                static_cast<double>(messages) / kPortalTicks);
}

}  // namespace

void OutputFigures() {
    std::printf("== one moving tick per pointer output (SDL virtual joystick, step 1)\n");
    SdlJoysticks joysticks;
    test::VirtualPad pad;
    if (!joysticks.Ready() || !pad.Attached()) {
        std::printf("skipped: SDL or its virtual joystick did not start\n");
        return;
    }

    if (std::getenv("DISPLAY") != nullptr) {
        X11Pointer x11;
        if (x11.Connected()) {
            x11.PlaceAt(640, 512);
            MovingTick("XTest (absolute: read, place)", joysticks, pad, x11, x11);
            x11.Sync();
        }
    } else {
        std::printf("XTest: skipped, DISPLAY is not set\n");
    }

    if (std::getenv("WAYLAND_DISPLAY") != nullptr) {
        WaylandVirtualPointer wlroots;
        if (wlroots.Ready()) {
            MovingTick("wlroots virtual pointer (motion + frame, flushed)", joysticks, pad, wlroots,
                       wlroots);
            wlroots.Sync();
        } else {
            std::printf("wlroots: skipped, the compositor offers no virtual pointer\n");
        }
    } else {
        std::printf("wlroots: skipped, WAYLAND_DISPLAY is not set (tests/support/with-sway)\n");
    }

    if (UinputWritable()) {
        UinputPointer uinput;
        if (uinput.Ready()) MovingTick("uinput (kernel)", joysticks, pad, uinput, uinput);
    } else if (UnderUmockdev()) {
        const MockUinput mock;
        UinputPointer uinput;
        if (uinput.Ready())
            MovingTick("uinput via umockdev stand-in", joysticks, pad, uinput, uinput);
        else
            std::printf("uinput: skipped, umockdev's stand-in refused the device\n");
    } else {
        std::printf("uinput: skipped, /dev/uinput not writable (or run under umockdev-wrapper)\n");
    }

    if (std::getenv("XDG_DESKTOP_PORTAL_DIR") != nullptr && PortalPointerOffered())
        PortalMovingTicks(joysticks, pad);
    else
        std::printf("portal: skipped, no test portal (tests/support/with-portal)\n");
}

}  // namespace vantrel::bench
