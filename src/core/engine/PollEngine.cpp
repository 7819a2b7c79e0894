#include "core/engine/PollEngine.h"

#include <charconv>
#include <cstdint>

#include "core/settings/PointerSpeed.h"

namespace vantrel {

namespace {

// True when joystick button `number` (from 1) alone makes up `mask`. Only 1..31 can: button 32
// is the sign bit, and a mask with it set counts as no button held.
bool ButtonIsMask(std::int16_t number, std::int32_t mask) {
    return number >= 1 && number <= 31 && mask == (std::int32_t{1} << (number - 1));
}

// Writes `value` with a leading blank when not negative; returns the end of the written text.
char* WriteSigned(char* out, char* end, std::int32_t value) {
    if (value >= 0) *out++ = ' ';
    return std::to_chars(out, end, value).ptr;
}

}  // namespace

PollEngine::PollEngine(JoystickPort& joystick, PointerOutput pointer, MouseButtonPort& buttons,
                       const Settings& settings, ScrollPort* scroll)
    : joystick_(joystick),
      buttons_(buttons),
      settings_(settings),
      motion_(MakePointerMotion(pointer)),
      pad_(joystick),
      scroll_(scroll) {
    // Room for the longest position text, so later updates never allocate.
    positionText_.reserve(32);
    parsedSpeed_.reserve(16);
}

bool PollEngine::IsRestReading(const JoystickState& state, bool scrolls) {
    // The same signed views of the reading as the tick takes.
    const StickPush push =
        PushFromAxes(static_cast<std::int32_t>(state.x), static_cast<std::int32_t>(state.y));
    return !push.Moves() && static_cast<std::int32_t>(state.buttons) < 1 &&
           !(scrolls && StickScroll::Pushes(state.scrollX, state.scrollY));
}

bool PollEngine::Scrolls() const {
    return scroll_ != nullptr && settings_.ScrollStick == 1 && scrollStick_ &&
           capsTakes_ == pad_.Takes();
}

bool PollEngine::IsRestFor(const JoystickState& state) const {
    return paused_ ? !chord_.Counts(state.buttons) : IsRestReading(state, Scrolls());
}

bool PollEngine::AtRest() const {
    return started_ && IsRestFor(joy_) && pressedCount_ == 0 && moveTicks_ == 0 &&
           !stickScroll_.Scrolling();
}

void PollEngine::SetPaused(bool paused) {
    if (paused == paused_) return;
    paused_ = paused;
    if (paused_) {
        // A drag in progress ends where it is, a scroll as a centred stick ends it, and the
        // stick starts afresh after the pause.
        HandleButtons(0);
        if (scroll_ != nullptr)
            stickScroll_.Tick(JoystickState{}.scrollX, JoystickState{}.scrollY,
                              settings_.ScrollSpeed, *scroll_);
        pointerStep_ = StepFromSpeed();
        moveTicks_ = 0;
    }
    if (pauseHandler_) pauseHandler_(paused_);
}

void PollEngine::Tick() {
    if (!started_) {
        // Take the step from the speed at once, so a stick held from the first tick moves.
        pointerStep_ = StepFromSpeed();
        pad_.Choose(settings_.JoystickId);
        started_ = true;
    }

    // 1. Read. A failed read, or a pad away, counts as the stick at rest with no button held, so
    //    an unplugged controller neither runs the pointer away nor leaves a mouse button down.
    if (!pad_.Read(joy_)) joy_ = JoystickState{};

    // The pause chord comes first: while paused nothing after it runs, whatever a tick does.
    chord_.SetMask(PauseChordMask(settings_, backStart_));
    if (chord_.Feed(joy_.buttons)) SetPaused(!paused_);
    if (paused_) return;

    const StickPush push =
        PushFromAxes(static_cast<std::int32_t>(joy_.x), static_cast<std::int32_t>(joy_.y));

    // 2, 3. Motion.
    const bool moved = push.Moves();
    if (moved) motion_->Move(push, pointerStep_);

    // Scrolling, before the status text: an output may send what it queued with the read of
    // the pointer that the text takes.
    Scroll();

    // 4. Status text.
    RefreshPositionText(motion_->Shown(moved));

    // 5. Acceleration.
    Accelerate(moved);

    // 6. Buttons; those of a chord that has just acted count as let go.
    HandleButtons(static_cast<std::int32_t>(joy_.buttons & ~chord_.Spent()));
}

void PollEngine::Scroll() {
    if (scroll_ == nullptr) return;
    // Asked once per pad in use, not every tick (the name in the answer costs an allocation),
    // and again while the device does not answer.
    const int device = DeviceToRead();
    if (settings_.ScrollStick == 1 && capsTakes_ != pad_.Takes() && device >= 0) {
        JoystickInfo caps;
        if (joystick_.ReadInfo(device, caps)) {
            scrollStick_ = caps.hasScrollStick;
            capsTakes_ = pad_.Takes();
        }
    }
    // Scrolling turned off, or another pad, in the middle of a scroll ends it as a centred
    // stick would.
    const bool on = Scrolls();
    stickScroll_.Tick(on ? joy_.scrollX : JoystickState{}.scrollX,
                      on ? joy_.scrollY : JoystickState{}.scrollY, settings_.ScrollSpeed, *scroll_);
}

void PollEngine::RefreshPositionText(ScreenPoint position) {
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
