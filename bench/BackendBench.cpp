#include "BackendBench.h"

#include <cstdio>
#include <cstdlib>

#include "BenchCommon.h"
#include "CountingPointer.h"
#include "core/engine/PollEngine.h"
#include "integration/VirtualPad.h"
#include "platform/joystick/sdl/SdlJoysticks.h"
#include "platform/pointer/xtest/X11Pointer.h"

namespace vantrel::bench {

namespace {

// Step 1 without acceleration, so the pointer moves one pixel a tick.
Settings SlowSettings(int joystickId) {
    Settings settings = DefaultSettings();
    settings.PointerSpeed = "1";
    settings.Acceleration = 0;
    settings.JoystickId = static_cast<std::int16_t>(joystickId);
    return settings;
}

}  // namespace

void BackendTicksOnly(bool moving, int ticks) {
    SdlJoysticks joysticks;
    X11Pointer x11;
    test::VirtualPad pad;
    if (!joysticks.Ready() || !x11.Connected() || !pad.Attached()) {
        std::printf("skipped: SDL, the X display or the SDL virtual joystick did not start\n");
        return;
    }
    CountingPointer pointer(x11);
    const Settings settings = SlowSettings(pad.Index());
    PollEngine engine(joysticks, pointer, x11, settings);
    x11.PlaceAt(640, 512);
    engine.Tick();
    x11.Sync();
    for (int i = 0; i < ticks; ++i) {
        // Back and forth every 200 ticks, so the pointer never sits at a screen edge.
        if (moving && i % 200 == 0) pad.SetAxes((i / 200) % 2 == 0 ? -32768 : 32767, 0);
        engine.Tick();
    }
    std::printf("%d ticks %s: %llu pointer queries, %llu display queries, %llu placements\n", ticks,
                moving ? "moving" : "at rest", static_cast<unsigned long long>(pointer.queries),
                static_cast<unsigned long long>(pointer.displayQueries),
                static_cast<unsigned long long>(pointer.placements));
}

void BackendFigures() {
    std::printf("== real backends: SDL virtual joystick, X11 pointer\n");
    if (std::getenv("DISPLAY") == nullptr) {
        std::printf("skipped: DISPLAY is not set (run under scripts/with-xvfb)\n");
        return;
    }
    SdlJoysticks joysticks;
    X11Pointer x11;
    if (!joysticks.Ready() || !x11.Connected()) {
        std::printf("skipped: SDL or the X display did not start\n");
        return;
    }
    test::VirtualPad pad;
    if (!pad.Attached()) {
        std::printf("skipped: no SDL virtual joystick\n");
        return;
    }
    CountingPointer pointer(x11);
    constexpr int kRuns = 11;
    constexpr int kTicks = 500;
    // The direction is reversed every run: the pointer keeps moving and never sits at a
    // screen edge.
    const Settings settings = SlowSettings(pad.Index());
    PollEngine engine(joysticks, pointer, x11, settings);
    x11.PlaceAt(640, 512);

    JoystickState state;
    Print("SDL ReadState alone",
          Measure(kRuns, kTicks, [&](int) { joysticks.ReadState(pad.Index(), state); }), 1000,
          "us");
    ScreenPoint point;
    Print("X11 QueryPosition alone (one XQueryPointer)",
          Measure(kRuns, kTicks, [&](int) { x11.QueryPosition(point); }), 1000, "us");

    engine.Tick();
    x11.Sync();
    auto trips = x11.RoundTrips();
    auto waits = x11.Waits();
    auto placements = pointer.placements;
    Print("real tick, stick at rest", Measure(kRuns, kTicks, [&](int) { engine.Tick(); }), 1000,
          "us");
    const double ticks = kRuns * kTicks;
    const double restTrips = double(x11.RoundTrips() - trips) / ticks;
    const double restWaits = double(x11.Waits() - waits) / ticks;
    const double restPlacements = double(pointer.placements - placements) / ticks;

    pad.SetButton(0, true);
    trips = x11.RoundTrips();
    waits = x11.Waits();
    placements = pointer.placements;
    Print("real tick, one axis deflected, button held",
          MeasureMovingTicks(kRuns, kTicks, pad, engine), 1000, "us");
    const double movingTrips = double(x11.RoundTrips() - trips) / ticks;
    const double movingWaits = double(x11.Waits() - waits) / ticks;
    const double movingPlacements = double(pointer.placements - placements) / ticks;
    pad.SetButton(0, false);
    pad.SetAxes(0, 0);
    engine.Tick();
    x11.Sync();
    std::printf("X round trips per tick (queries sent): %.2f at rest, %.2f moving\n", restTrips,
                movingTrips);
    std::printf("replies waited for per tick: %.2f at rest, %.2f moving\n", restWaits, movingWaits);
    std::printf("one-way XTest motions per tick: %.2f at rest, %.2f moving\n", restPlacements,
                movingPlacements);
}

}  // namespace vantrel::bench
