// The Windows pointer, read and placed in absolute screen pixels (GetCursorPos / SetCursorPos).
#pragma once

#include "core/engine/PointerPort.h"

namespace vantrel {

// Absolute placement on purpose: relative SendInput moves are scaled by the user's pointer
// acceleration, which would turn the engine's fixed steps into uneven ones.
class WinPointer final : public PointerPort {
  public:
    bool QueryPosition(ScreenPoint& point) override;
    // Windows confines the pointer to the desktop (and to a ClipCursor rectangle).
    bool PlaceAt(std::int32_t x, std::int32_t y) override;
};

}  // namespace vantrel
