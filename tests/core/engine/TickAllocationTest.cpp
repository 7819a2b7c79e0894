// The tick runs every 5 ms for the whole run: in steady state it must not touch the heap.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "support/EngineRig.h"

namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace vantrel {
namespace {

TEST(TickAllocationTest, SteadyTicksDoNotAllocate) {
    test::EngineRig rig;
    rig.WideScreen();
    rig.pointer.logCalls = false;
    rig.buttons.record = false;

    struct Phase {
        std::uint32_t x;
        std::uint32_t buttons;
    };
    for (const Phase phase :
         {Phase{32767, 0}, Phase{0, 1}, Phase{65535, 0x10000}, Phase{32767, 3}}) {
        rig.joystick.SetAxes(phase.x, 32767);
        rig.joystick.SetButtons(phase.buttons);
        rig.engine.Tick();  // the first tick of a phase may settle caches
        const long before = g_allocations.load();
        for (int i = 0; i < 500; ++i) rig.engine.Tick();
        EXPECT_EQ(g_allocations.load() - before, 0) << "x " << phase.x;
    }
    // Moving and changing the text on every tick, still without the heap.
    EXPECT_NE(rig.pointer.position.x, 640);
}

}  // namespace
}  // namespace vantrel
