#include "core/engine/PointerMotion.h"

#include <cstdint>
#include <limits>

#include "core/engine/Mouse.h"

namespace vantrel {

namespace {

// Reads the pointer before each axis's step and places it there plus the step.
class AbsoluteMotion final : public PointerMotion {
  public:
    explicit AbsoluteMotion(PointerPort& port) : mouse_(port) {}

    void Move(StickPush push, double step) override {
        // A write whose target has no 32-bit value fails and moves nothing; the tick goes on.
        if (push.x != 0) {
            const bool ok = mouse_.SetX(static_cast<double>(mouse_.X()) + push.x * step);
            static_cast<void>(ok);
        }
        if (push.y != 0) {
            const bool ok = mouse_.SetY(static_cast<double>(mouse_.Y()) + push.y * step);
            static_cast<void>(ok);
        }
    }

    ScreenPoint Shown(bool moved) override {
        // At rest the text only follows the real mouse, so a position read one tick ago will do
        // and spares the backend a wait for the window system on every idle tick. After a move
        // the text shows where this tick put the pointer.
        return moved ? mouse_.Position() : mouse_.PositionForDisplay();
    }

  private:
    Mouse mouse_;
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
