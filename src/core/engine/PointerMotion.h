// How a tick moves the pointer, one way per kind of output: the absolute way reads the pointer
// and places it a step further, the relative way steps a position it keeps and pushes the
// pointer by the difference. The engine picks one from its output when it is made.
#pragma once

#include <memory>

#include "core/engine/PointerPort.h"

namespace vantrel {

class PointerMotion {
  public:
    virtual ~PointerMotion() = default;
    // Steps each axis by `step` pixels the way its push goes: -1 left / up, +1 right / down,
    // 0 not at all. A step that has no 32-bit target or cannot be placed or sent is dropped.
    virtual void Move(int pushX, int pushY, double step) = 0;
    // The position the status text shows after a tick; `moved`: whether the tick stepped.
    virtual ScreenPoint Shown(bool moved) = 0;
};

std::unique_ptr<PointerMotion> MakePointerMotion(const PointerOutput& output);

}  // namespace vantrel
