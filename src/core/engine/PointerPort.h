// What the engine needs from the window system to move the pointer: read and place it (X11,
// Windows), or only push it by a distance (Wayland, uinput). A platform hands the engine one
// PointerOutput, which is either kind.
#pragma once

#include <cstdint>

namespace vantrel {

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// An output that reads and places the pointer in screen pixels.
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
};

// An output that nobody may ask for the pointer's position (Wayland) and that can only push it.
class RelativePointerPort {
  public:
    virtual ~RelativePointerPort() = default;
    // Moves by (dx, dy) pixels in one report, so a diagonal step is one motion; false when the
    // report could not be sent.
    virtual bool MoveBy(std::int32_t dx, std::int32_t dy) = 0;
};

// The pointer output a platform chose, of either kind. Both ports convert to it, so whatever
// hands the output around does not ask which kind it holds; the engine asks once.
class PointerOutput {
  public:
    PointerOutput(PointerPort& absolute) : absolute_(&absolute) {}          // NOLINT(implicit)
    PointerOutput(RelativePointerPort& relative) : relative_(&relative) {}  // NOLINT(implicit)

    // Exactly one of the two is set.
    PointerPort* Absolute() const { return absolute_; }
    RelativePointerPort* Relative() const { return relative_; }

  private:
    PointerPort* absolute_ = nullptr;
    RelativePointerPort* relative_ = nullptr;
};

}  // namespace vantrel
