// The pointer as two read/write coordinates in screen pixels, over the window system's pointer.
#pragma once

#include <cstdint>

#include "core/engine/PointerPort.h"

namespace vantrel {

// Nearest 32-bit integer to `value`, a tie going to the even neighbour. False (and `out`
// untouched) for NaN and for values whose nearest integer lies outside the 32-bit range.
bool RoundToInt32(double value, std::int32_t& out);

class Mouse {
  public:
    explicit Mouse(PointerPort& port) : port_(port) {}

    // Each read asks the window system; a failed query answers with the last point read
    // (0, 0 before the first success).
    std::int32_t X();
    std::int32_t Y();
    // Both coordinates from one query, with the same fallback.
    ScreenPoint Position();
    // Both coordinates for showing, not for moving: possibly as read one tick ago (see
    // PointerPort::QueryPositionForDisplay), with the same fallback.
    ScreenPoint PositionForDisplay();

    // Moves the pointer along one axis; the other axis stays where the pointer is now (read
    // afresh). False when `value` has no 32-bit nearest integer: then nothing moves.
    bool SetX(double value);
    bool SetY(double value);
    // Moves by a distance without reading first; false when the port cannot (see
    // PointerPort::ShiftBy).
    bool ShiftBy(std::int32_t dx, std::int32_t dy) { return port_.ShiftBy(dx, dy); }

  private:
    void Query();

    PointerPort& port_;
    ScreenPoint point_{};
};

}  // namespace vantrel
