// What the engine needs from the window system to read and place the pointer.
#pragma once

#include <cstdint>

namespace vantrel {

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

class PointerPort {
  public:
    virtual ~PointerPort() = default;
    // The pointer's absolute position in screen pixels; false when it cannot be read.
    virtual bool QueryPosition(ScreenPoint& point) = 0;
    // The position for showing only, never for computing a move. A backend may answer with a
    // position it asked for at the previous call (at most one tick old) instead of waiting for
    // the window system now, as long as nothing was placed or clicked since; every other
    // backend just asks now.
    virtual bool QueryPositionForDisplay(ScreenPoint& point) { return QueryPosition(point); }
    // Places the pointer at an absolute position; the window system confines it to the screen.
    virtual bool PlaceAt(std::int32_t x, std::int32_t y) = 0;
};

}  // namespace vantrel
