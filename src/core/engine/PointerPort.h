// What the engine needs from the window system to move the pointer: read and place it (X11,
// Windows), or only push it by a distance (Wayland, uinput).
#pragma once

#include <cstdint>

namespace vantrel {

class RelativePointerPort;

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
    // Moves the pointer by (dx, dy) from wherever it is when the window system gets the
    // request, confined to the screen as a placement is, without reading it first. False when
    // this output cannot do that now: the engine then reads and places. (0, 0) sends nothing
    // and only answers whether it could.
    virtual bool ShiftBy(std::int32_t, std::int32_t) { return false; }
    // Non-null for an output that can only move the pointer by a distance; the engine then
    // never reads or places it.
    virtual RelativePointerPort* Relative() { return nullptr; }
};

// An output that nobody may ask for the pointer's position (Wayland) and that can only push it.
// It is a PointerPort so that everything handing pointers around stays as it is.
class RelativePointerPort : public PointerPort {
  public:
    // Moves by (dx, dy) pixels in one report, so a diagonal step is one motion; false when the
    // report could not be sent.
    virtual bool MoveBy(std::int32_t dx, std::int32_t dy) = 0;

    bool QueryPosition(ScreenPoint&) final { return false; }
    bool PlaceAt(std::int32_t, std::int32_t) final { return false; }
    RelativePointerPort* Relative() final { return this; }
};

}  // namespace vantrel
