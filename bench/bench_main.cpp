// Prints what one poll tick costs: the core engine over fake ports, and the real SDL joystick and
// X11 pointer backends (when a display is available). Each figure is min / median over runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/PollEngine.h"
#include "fakes/FakeJoystick.h"
#include "fakes/FakeMouseButtons.h"
#include "fakes/FakePointer.h"
#include "integration/VirtualPad.h"
#include "platform/sdl/SdlJoysticks.h"
#include "platform/x11/X11Pointer.h"

namespace {

using namespace vantrel;
using Clock = std::chrono::steady_clock;

struct Figures {
    double min = 0;
    double median = 0;
};

// Runs `ticksPerRun` calls of `body` `runs` times; returns nanoseconds per call.
template <class Body>
Figures Measure(int runs, int ticksPerRun, Body&& body) {
    std::vector<double> perTick;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        for (int i = 0; i < ticksPerRun; ++i) body(run);
        const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
        perTick.push_back(elapsed.count() / ticksPerRun);
    }
    std::sort(perTick.begin(), perTick.end());
    return {perTick.front(), perTick[perTick.size() / 2]};
}

void Print(const char* what, Figures f, double scale, const char* unit) {
    std::printf("%-58s min %9.2f %s   median %9.2f %s\n", what, f.min / scale, unit,
                f.median / scale, unit);
}

void CoreFigures() {
    constexpr int kRuns = 21;
    constexpr int kTicks = 200000;
    test::FakeJoystick joystick;
    test::FakePointer pointer;
    test::FakeMouseButtons buttons;
    pointer.logCalls = false;
    buttons.record = false;
    pointer.minX = pointer.minY = -1000000000;
    pointer.maxX = pointer.maxY = 1000000000;
    Settings settings = DefaultSettings();
    joystick.Plug(0);
    PollEngine engine(joystick, pointer, buttons, settings);
    engine.SetJoystickCount(1);

    engine.Tick();
    Print("core tick, fake ports, stick at rest",
          Measure(kRuns, kTicks, [&](int) { engine.Tick(); }), 1, "ns");

    joystick.SetAxes(0, 32767);
    joystick.SetButtons(1);
    Print("core tick, fake ports, stick deflected, button held",
          Measure(kRuns, kTicks, [&](int) { engine.Tick(); }), 1, "ns");
    joystick.SetAxes(0, 65535);
    Print("core tick, fake ports, diagonal, button held",
          Measure(kRuns, kTicks, [&](int) { engine.Tick(); }), 1, "ns");
}

void BackendFigures() {
    if (std::getenv("DISPLAY") == nullptr) {
        std::printf("real backends: skipped, DISPLAY is not set (run under scripts/with-xvfb)\n");
        return;
    }
    SdlJoysticks joysticks;
    X11Pointer pointer;
    if (!joysticks.Ready() || !pointer.Connected()) {
        std::printf("real backends: skipped, SDL or the X display did not start\n");
        return;
    }
    test::VirtualPad pad;
    if (!pad.Attached()) {
        std::printf("real backends: skipped, no SDL virtual joystick\n");
        return;
    }
    constexpr int kRuns = 11;
    constexpr int kTicks = 500;
    // Step 1 without acceleration and the direction reversed every run: the pointer keeps
    // moving and never sits at a screen edge.
    Settings settings = DefaultSettings();
    settings.PointerSpeed = "1";
    settings.Acceleration = 0;
    settings.JoystickId = static_cast<std::int16_t>(pad.Index());
    PollEngine engine(joysticks, pointer, pointer, settings);
    engine.SetJoystickCount(pad.Index() + 1);
    pointer.PlaceAt(640, 512);

    JoyState state;
    Print("SDL ReadState alone (virtual joystick)",
          Measure(kRuns, kTicks, [&](int) { joysticks.ReadState(pad.Index(), state); }), 1000,
          "us");

    engine.Tick();
    auto trips = pointer.RoundTrips();
    Print("real tick, SDL + X11, stick at rest",
          Measure(kRuns, kTicks, [&](int) { engine.Tick(); }), 1000, "us");
    const double restTrips = double(pointer.RoundTrips() - trips) / (kRuns * kTicks);

    pad.SetButton(0, true);
    int direction = 0;  // set on the first tick of every run
    trips = pointer.RoundTrips();
    Print("real tick, SDL + X11, stick deflected, button held",
          Measure(kRuns, kTicks,
                  [&](int run) {
                      const int wanted = run % 2 == 0 ? -1 : 1;
                      if (wanted != direction) {
                          direction = wanted;
                          pad.SetAxes(direction < 0 ? -32768 : 32767, 0);
                      }
                      engine.Tick();
                  }),
          1000, "us");
    const double movingTrips = double(pointer.RoundTrips() - trips) / (kRuns * kTicks);
    pad.SetButton(0, false);
    pad.SetAxes(0, 0);
    engine.Tick();
    pointer.Sync();
    std::printf("X round trips per tick: %.2f at rest, %.2f moving on one axis\n", restTrips,
                movingTrips);
}

}  // namespace

int main() {
    CoreFigures();
    BackendFigures();
    return 0;
}
