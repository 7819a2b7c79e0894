// How a tick moves the pointer, one way per kind of output: the absolute way reads the pointer
// and places it a step further, the relative way steps a position it keeps and pushes the
// pointer by the difference. The engine picks one from its output when it is made.
#pragma once

#include <memory>

#include "core/engine/PointerPort.h"
#include "core/engine/StickPush.h"

namespace vantrel {

class PointerMotion {
  public:
    virtual ~PointerMotion() = default;
    // Steps each axis by `step` pixels the way the stick pushes it. A step that has no 32-bit
    // target or cannot be placed or sent is dropped; the tick goes on.
    virtual void Move(StickPush push, double step) = 0;
    // The position the status text shows after a tick; `moved`: whether the tick stepped.
    virtual ScreenPoint Shown(bool moved) = 0;
};

std::unique_ptr<PointerMotion> MakePointerMotion(const PointerOutput& output);

}  // namespace vantrel
