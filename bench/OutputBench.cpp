#include "OutputBench.h"

#include <linux/uinput.h>
#include <umockdev.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "BenchCommon.h"
#include "core/engine/PollEngine.h"
#include "integration/VirtualPad.h"
#include "platform/joystick/sdl/SdlJoysticks.h"
#include "platform/pointer/uinput/UinputPointer.h"
#include "platform/pointer/wlroots/WaylandVirtualPointer.h"
#include "platform/pointer/xtest/X11Pointer.h"

namespace vantrel::bench {

namespace {

constexpr int kRuns = 11;
constexpr int kTicks = 500;

// A moving tick, step 1 without acceleration, the stick reversed every run so that an absolute
// pointer never rests at a screen edge.
void MovingTick(const char* what, SdlJoysticks& joysticks, test::VirtualPad& pad,
                PointerOutput pointer, MouseButtonPort& buttons) {
    Settings settings = DefaultSettings();
    settings.PointerSpeed = "1";
    settings.Acceleration = 0;
    settings.JoystickId = static_cast<std::int16_t>(pad.Index());
    PollEngine engine(joysticks, pointer, buttons, settings);
    engine.SetJoystickCount(pad.Index() + 1);
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
}

}  // namespace vantrel::bench
