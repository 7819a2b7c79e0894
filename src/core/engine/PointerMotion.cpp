#include "core/engine/PointerMotion.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/engine/Mouse.h"

namespace vantrel {

namespace {

// Reads the pointer before each axis's step and places it there plus the step; or, where the
// output can and the result is the same, moves it by the step's distance without reading.
class AbsoluteMotion final : public PointerMotion {
  public:
    explicit AbsoluteMotion(PointerPort& port) : mouse_(port) {}

    void Move(StickPush push, double step) override {
        const double stepX = push.x * step;
        const double stepY = push.y * step;
        shifted_ = ShiftAxes(stepX, stepY);
        if (shifted_) return;
        // Read and place, one axis after the other, each from a fresh read. A write whose target
        // has no 32-bit value fails and moves nothing; the tick goes on.
        if (push.x != 0) {
            const bool ok = mouse_.SetX(static_cast<double>(mouse_.X()) + stepX);
            static_cast<void>(ok);
        }
        if (push.y != 0) {
            const bool ok = mouse_.SetY(static_cast<double>(mouse_.Y()) + stepY);
            static_cast<void>(ok);
        }
    }

    ScreenPoint Shown(bool moved) override {
        // At rest the text only follows the real mouse, so a position read one tick ago will do
        // and spares the backend a wait for the window system on every idle tick. After a move
        // the text shows where this tick put the pointer. A shifted pointer was not read
        // either: its text comes the same way, a tick late at most.
        return moved && !shifted_ ? mouse_.Position() : mouse_.PositionForDisplay();
    }

  private:
    // Moves by the steps' distances where they do not depend on the position; false when the
    // tick must read and place instead.
    bool ShiftAxes(double stepX, double stepY) {
        // Reading and placing puts the pointer at round(p + step). For a whole p that is
        // p + round(step) - a distance that needs no read - unless the step ends in exactly .5:
        // then the tie goes to the even pixel, and which one that is depends on p. Positions are
        // window system pixels (16 bits on X), far too small for p + step to round inexactly.
        const auto distance = [](double step, std::int32_t& pixels) {
            if (step - std::floor(step) == 0.5 || !(std::fabs(step) < kLargestShift)) return false;
            return RoundToInt32(step, pixels);
        };
        std::int32_t dx = 0, dy = 0;
        if (!distance(stepX, dx) || !distance(stepY, dy) || !mouse_.ShiftBy(0, 0)) return false;
        // One request per axis, x first, as the placements go: the server confines each in
        // turn, which on screens of different sizes can differ from one diagonal move. Both
        // leave with the tick's one write; a refusal now (the connection lost) is the next
        // tick's to find.
        if (dx != 0) static_cast<void>(mouse_.ShiftBy(dx, 0));
        if (dy != 0) static_cast<void>(mouse_.ShiftBy(0, dy));
        return true;
    }

    // Beyond this a step is left to reading and placing, whose rounding is exact at any size.
    static constexpr double kLargestShift = 1 << 24;
    Mouse mouse_;
    // The last moving tick moved by distances, so no position was read.
    bool shifted_ = false;
};

// Steps one axis of the kept position by `delta`, rounded as Mouse::SetX rounds, and returns the
// whole pixels it moved. Past 2^30 the kept value drops back by 2^30 first: that keeps its parity
// (so ties still go the same way) and keeps a stick held for weeks from running out of 32-bit
// room and freezing the pointer. A step with no 32-bit result moves nothing, as in absolute mode.
std::int32_t StepKept(std::int32_t& kept, double delta) {
    constexpr std::int32_t kRebase = std::int32_t{1} << 30;
    if (kept >= kRebase) kept -= kRebase;
    if (kept <= -kRebase) kept += kRebase;
    std::int32_t target = 0;
    if (!RoundToInt32(static_cast<double>(kept) + delta, target)) return 0;
    const std::int64_t moved = std::int64_t{target} - kept;
    if (moved < std::numeric_limits<std::int32_t>::min() ||
        moved > std::numeric_limits<std::int32_t>::max())
        return 0;
    kept = target;
    return static_cast<std::int32_t>(moved);
}

// Nobody may read the pointer: keeps the position the absolute way would have computed from a
// start at (0, 0), with the same steps and rounding, and sends the difference.
class RelativeMotion final : public PointerMotion {
  public:
    explicit RelativeMotion(RelativePointerPort& port) : port_(port) {}

    void Move(StickPush push, double step) override {
        const std::int32_t dx = push.x != 0 ? StepKept(kept_.x, push.x * step) : 0;
        const std::int32_t dy = push.y != 0 ? StepKept(kept_.y, push.y * step) : 0;
        if (dx == 0 && dy == 0) return;
        // A lost report is not repeated: the next tick moves on from where this one meant to be.
        const bool sent = port_.MoveBy(dx, dy);
        static_cast<void>(sent);
    }

    ScreenPoint Shown(bool) override { return kept_; }

  private:
    RelativePointerPort& port_;
    ScreenPoint kept_{};
};

}  // namespace

std::unique_ptr<PointerMotion> MakePointerMotion(const PointerOutput& output) {
    if (output.Relative() != nullptr) return std::make_unique<RelativeMotion>(*output.Relative());
    return std::make_unique<AbsoluteMotion>(*output.Absolute());
}

}  // namespace vantrel
