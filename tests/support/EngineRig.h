// The engine over fakes, for the engine's tests: a joystick plugged at id 0, the
// pointer at (640, 512) on a 1280x1024 screen (or another output the test brings), the default
// settings (buttons 1/2/3, speed "2", acceleration on, scrolling on), wheels that scroll for a
// pad with a scroll stick, and the ends and middle of an axis.
#pragma once

#include <cstdint>
#include <optional>

#include "core/engine/PollEngine.h"
#include "core/settings/Settings.h"
#include "support/fakes/FakeJoystick.h"
#include "support/fakes/FakeMouseButtons.h"
#include "support/fakes/FakePointer.h"
#include "support/fakes/FakeScroll.h"

namespace vantrel::test {

constexpr std::uint32_t kRest = 32767;
constexpr std::uint32_t kLow = 0;
constexpr std::uint32_t kHigh = 65535;

struct EngineRig {
    FakeJoystick joystick;
    FakePointer pointer;
    FakeMouseButtons buttons;
    FakeScroll scroll;
    Settings settings = DefaultSettings();
    PollEngine engine;

    explicit EngineRig(std::optional<PointerOutput> output = std::nullopt)
        : engine(joystick, output.value_or(pointer), buttons, settings, &scroll) {
        joystick.Plug(0);
    }
    // Gives the pad a second stick at (x, y).
    void ScrollStickAt(std::uint32_t x, std::uint32_t y) {
        joystick.At(0).caps.hasScrollStick = true;
        joystick.At(0).state.scrollX = x;
        joystick.At(0).state.scrollY = y;
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) engine.Tick();
    }
    // Makes the pointer's room large enough for long runs.
    void WideScreen() {
        pointer.minX = pointer.minY = -1000000;
        pointer.maxX = pointer.maxY = 1000000;
    }
};

}  // namespace vantrel::test
