#include "CoreBench.h"

#include <cstdio>

#include "BenchCommon.h"
#include "core/engine/PollEngine.h"
#include "support/fakes/FakeJoystick.h"
#include "support/fakes/FakeMouseButtons.h"
#include "support/fakes/FakePointer.h"

namespace vantrel::bench {

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

    std::printf("== core engine over the fake ports (PollEngine::Tick)\n");
    engine.Tick();
    long queries = pointer.queries;
    Print("core tick, stick at rest", Measure(kRuns, kTicks, [&](int) { engine.Tick(); }), 1, "ns");
    const double restQueries = double(pointer.queries - queries) / (kRuns * kTicks);

    joystick.SetAxes(0, 32767);
    joystick.SetButtons(1);
    queries = pointer.queries;
    Print("core tick, one axis deflected, button held",
          Measure(kRuns, kTicks, [&](int) { engine.Tick(); }), 1, "ns");
    const double moveQueries = double(pointer.queries - queries) / (kRuns * kTicks);

    joystick.SetAxes(0, 65535);
    queries = pointer.queries;
    Print("core tick, diagonal, button held", Measure(kRuns, kTicks, [&](int) { engine.Tick(); }),
          1, "ns");
    const double diagonalQueries = double(pointer.queries - queries) / (kRuns * kTicks);
    std::printf("pointer queries per tick: %.2f at rest, %.2f one axis, %.2f diagonal\n",
                restQueries, moveQueries, diagonalQueries);
}

}  // namespace vantrel::bench
