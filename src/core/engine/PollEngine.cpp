#include "core/engine/PollEngine.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/settings/PointerSpeed.h"

namespace vantrel {

namespace {

// True when joystick button `number` (from 1) alone makes up `mask`. Only 1..31 can: button 32
// is the sign bit, and a mask with it set counts as no button held.
bool ButtonIsMask(std::int16_t number, std::int32_t mask) {
    return number >= 1 && number <= 31 && mask == (std::int32_t{1} << (number - 1));
}

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

// Writes `value` with a leading blank when not negative; returns the end of the written text.
char* WriteSigned(char* out, char* end, std::int32_t value) {
    if (value >= 0) *out++ = ' ';
    return std::to_chars(out, end, value).ptr;
}

}  // namespace

PollEngine::PollEngine(JoystickPort& joystick, PointerPort& pointer, MouseButtonPort& buttons,
                       const Settings& settings)
    : joystick_(joystick),
      buttons_(buttons),
      settings_(settings),
      mouse_(pointer),
      relative_(pointer.Relative()) {
    // Room for the longest position text, so later updates never allocate.
    positionText_.reserve(32);
    parsedSpeed_.reserve(16);
}

int PollEngine::DeviceToRead() const {
    const int id = settings_.JoystickId;
    return id >= 0 && id < joystickCount_ ? id : 0;
}

bool PollEngine::IsRestReading(const JoystickState& state) {
    // The same signed views of the reading as the tick takes.
    const StickPush push =
        PushFromAxes(static_cast<std::int32_t>(state.x), static_cast<std::int32_t>(state.y));
    return !push.Moves() && static_cast<std::int32_t>(state.buttons) < 1;
}

bool PollEngine::AtRest() const {
    return started_ && IsRestReading(joy_) && pressedCount_ == 0 && moveTicks_ == 0;
}

void PollEngine::Tick() {
    if (!started_) {
        // Take the step from the speed at once, so a stick held from the first tick moves.
        pointerStep_ = StepFromSpeed();
        started_ = true;
    }

    // 1. Read. A failed read counts as the stick at rest with no button held, so an unplugged
    //    controller neither runs the pointer away nor leaves a mouse button down.
    if (!joystick_.ReadState(DeviceToRead(), joy_)) joy_ = JoystickState{};
    const StickPush push =
        PushFromAxes(static_cast<std::int32_t>(joy_.x), static_cast<std::int32_t>(joy_.y));

    // 2, 3. Motion.
    const bool moved = push.Moves();
    if (moved) relative_ != nullptr ? MoveAxesBy(*relative_, push) : MoveAxes(push);

    // 4. Status text.
    RefreshPositionText(moved);

    // 5. Acceleration.
    Accelerate(moved);

    // 6. Buttons.
    HandleButtons(static_cast<std::int32_t>(joy_.buttons));
}

void PollEngine::MoveAxes(StickPush push) {
    const double stepX = push.x * static_cast<double>(pointerStep_);
    const double stepY = push.y * static_cast<double>(pointerStep_);
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

bool PollEngine::ShiftAxes(double stepX, double stepY) {
    // Reading and placing puts the pointer at round(p + step). For a whole p that is
    // p + round(step) - a distance that needs no read - unless the step ends in exactly .5: then
    // the tie goes to the even pixel, and which one that is depends on p. Positions are window
    // system pixels (16 bits on X), far too small for p + step to round inexactly.
    const auto distance = [](double step, std::int32_t& pixels) {
        if (step - std::floor(step) == 0.5 || !(std::fabs(step) < kLargestShift)) return false;
        return RoundToInt32(step, pixels);
    };
    std::int32_t dx = 0, dy = 0;
    if (!distance(stepX, dx) || !distance(stepY, dy) || !mouse_.ShiftBy(0, 0)) return false;
    // One request per axis, x first, as the placements go: the server confines each in turn,
    // which on screens of different sizes can differ from one diagonal move. Both leave with
    // the tick's one write; a refusal now (the connection lost) is the next tick's to find.
    if (dx != 0) static_cast<void>(mouse_.ShiftBy(dx, 0));
    if (dy != 0) static_cast<void>(mouse_.ShiftBy(0, dy));
    return true;
}

void PollEngine::MoveAxesBy(RelativePointerPort& output, StickPush push) {
    const double step = pointerStep_;
    // The same steps and rounding as MoveAxes, from the kept position instead of a read one.
    const std::int32_t dx = push.x != 0 ? StepKept(kept_.x, push.x * step) : 0;
    const std::int32_t dy = push.y != 0 ? StepKept(kept_.y, push.y * step) : 0;
    if (dx != 0 || dy != 0) {
        // A lost report is not repeated: the next tick moves on from where this one meant to be.
        const bool sent = output.MoveBy(dx, dy);
        static_cast<void>(sent);
    }
}

void PollEngine::RefreshPositionText(bool moved) {
    // At rest the text only follows the real mouse, so a position read one tick ago will do and
    // spares the backend a wait for the window system on every idle tick. After a move the text
    // shows where this tick put the pointer.
    // A shifted pointer was not read either: its text comes the same way, a tick late at most.
    const ScreenPoint position = relative_ != nullptr ? kept_
                                 : moved && !shifted_ ? mouse_.Position()
                                                      : mouse_.PositionForDisplay();
    if (positionShown_ && position.x == shownPosition_.x && position.y == shownPosition_.y) return;
    char text[32];
    char* end = text + sizeof text;
    char* out = WriteSigned(text, end, position.x);
    for (char c : {' ', '-', ' '}) *out++ = c;
    out = WriteSigned(out, end, position.y);
    positionText_.assign(text, out);
    shownPosition_ = position;
    positionShown_ = true;
}

void PollEngine::Accelerate(bool moved) {
    if (!moved) {
        // A tick at rest ends the run and takes a possibly changed speed, with or without
        // acceleration.
        pointerStep_ = StepFromSpeed();
        moveTicks_ = 0;
        return;
    }
    if (settings_.Acceleration != 1) return;
    moveTicks_ = NextMoveTicks(moveTicks_);
    double factor = 1.0;
    switch (moveTicks_) {
        case 20:
            factor = 1.4;
            break;
        case 40:
            factor = 1.45;
            break;
        case 60:
            factor = 1.5;
            break;
        case 80:
            factor = 1.55;
            break;
        default:
            return;
    }
    pointerStep_ = static_cast<float>(static_cast<double>(pointerStep_) * factor);
}

float PollEngine::StepFromSpeed() {
    if (!speedParsed_ || settings_.PointerSpeed != parsedSpeed_) {
        parsedSpeed_ = settings_.PointerSpeed;
        parsedStep_ = PointerStepFromSpeed(parsedSpeed_);
        speedParsed_ = true;
    }
    return parsedStep_;
}

void PollEngine::HandleButtons(std::int32_t mask) {
    if (mask < 1) {
        // Every mouse button pressed here goes up, the last pressed (the held one) first: a
        // button pressed under another one would otherwise stay down in the window system.
        while (pressedCount_ > 0) buttons_.Send(pressed_[--pressedCount_]);
        heldButton_.clear();
        lastButtons_ = 0;
        return;
    }
    if (mask == lastButtons_) return;
    if (ButtonIsMask(settings_.LeftButton, mask))
        Press(MouseButtonEvent::LeftDown, MouseButtonEvent::LeftUp, "1");
    if (ButtonIsMask(settings_.RightButton, mask))
        Press(MouseButtonEvent::RightDown, MouseButtonEvent::RightUp, "2");
    if (ButtonIsMask(settings_.MiddleButton, mask))
        Press(MouseButtonEvent::MiddleDown, MouseButtonEvent::MiddleUp, "3");
    lastButtons_ = mask;
}

void PollEngine::Press(MouseButtonEvent down, MouseButtonEvent up, const char* held) {
    buttons_.Send(down);
    heldButton_ = held;
    // Remembered once, however often it is pressed again before everything is let go.
    for (std::size_t i = 0; i < pressedCount_; ++i)
        if (pressed_[i] == up) return;
    pressed_[pressedCount_++] = up;
}

}  // namespace vantrel
