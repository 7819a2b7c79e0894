// The polling tick: one joystick read turned into pointer motion, acceleration, mouse-button
// presses and scrolling, with the held button and the position text as visible state.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "core/engine/JoystickPort.h"
#include "core/engine/MouseButtonPort.h"
#include "core/engine/PadFollower.h"
#include "core/engine/PauseChord.h"
#include "core/engine/PointerMotion.h"
#include "core/engine/PointerPort.h"
#include "core/engine/ScrollPort.h"
#include "core/engine/StickPush.h"
#include "core/engine/StickScroll.h"
#include "core/settings/Settings.h"

namespace vantrel {

// The moving-tick counter after one more moving tick; it stops at the 32-bit maximum so a stick
// held for months never wraps into a new acceleration run.
constexpr std::int32_t NextMoveTicks(std::int32_t moveTicks) {
    return moveTicks == std::numeric_limits<std::int32_t>::max() ? moveTicks : moveTicks + 1;
}

class PollEngine {
  public:
    // `scroll`: the output's wheels; none when it cannot scroll.
    PollEngine(JoystickPort& joystick, PointerOutput pointer, MouseButtonPort& buttons,
               const Settings& settings, ScrollPort* scroll = nullptr);

    // One poll: read the joystick, time the pause chord, then unless paused move, scroll,
    // update the position text, accelerate, buttons. The first tick takes the pad JoystickId
    // names (see PadFollower::Choose) and follows it from then on, wherever the device list
    // moves it.
    void Tick();
    // The user chose the joystick JoystickId names now: that pad is the one in use from now on.
    void FollowChosenJoystick() { pad_.Choose(settings_.JoystickId); }

    // The pad's own Back and Start (JoystickInfo::backStartButtons), for a chord the settings
    // leave to the pad.
    void SetBackStartButtons(const std::array<std::int16_t, 2>& buttons) { backStart_ = buttons; }
    // Paused: ticks only read the joystick and time the chord; the pause lets go of every mouse
    // button held here and ends an acceleration run and a scroll. Remembered for this run only.
    void SetPaused(bool paused);
    bool Paused() const { return paused_; }
    // Called with the new state whenever the pause begins or ends, by the chord or SetPaused.
    void SetPauseHandler(std::function<void(bool paused)> handler) {
        pauseHandler_ = std::move(handler);
    }

    // Lets go of the mouse button held here, as a tick without joystick buttons would: the
    // program must never end with a button stuck down.
    void ReleaseHeldButton() { HandleButtons(0); }

    // "1" left, "2" right, "3" middle: the mouse button pressed here and not yet released.
    const std::string& HeldButton() const { return heldButton_; }
    // The last pointer position as " 512 -  384" (a blank before each non-negative number);
    // for an output that only moves by a distance, the position kept from a start at (0, 0).
    const std::string& PositionText() const { return positionText_; }

    float PointerStep() const { return pointerStep_; }
    std::int32_t MoveTicks() const { return moveTicks_; }
    std::int32_t LastButtons() const { return lastButtons_; }

    // True for a reading that gives the tick nothing to do: a stick that pushes nowhere, no
    // button that counts (button 32, the sign bit, acts as no button) and, where `scrolls`, a
    // second stick in its dead zone.
    static bool IsRestReading(const JoystickState& state, bool scrolls = false);
    // The same for this engine now: while paused, any reading on which the chord's hold cannot
    // advance.
    bool IsRestFor(const JoystickState& state) const;
    // True when ticks scroll: an output that can, the setting on and, as of the last tick, a
    // joystick with a scroll stick.
    bool Scrolls() const;
    // The device id the pad in use has now; -1 while it is away, or none has come yet (the
    // tick then reads nothing, and a stick held as it went counts as let go).
    int DeviceToRead() const { return pad_.Device(); }
    // Joysticks present, as the last change of the device list that a tick saw left them.
    int JoystickCount() const { return pad_.Count(); }
    // Changes whenever the pad in use, or its id, may have (PadFollower::Takes).
    std::uint32_t PadTakes() const { return pad_.Takes(); }
    // Whether a pad was plugged in or out since the last tick, looking now.
    bool DeviceListChanged() { return pad_.ListChanged(); }
    // True after a tick that found nothing to do and left nothing to finish: both axes in the
    // dead zone, no joystick button that counts, no mouse button held here, no acceleration
    // run (the step was reloaded from the speed), no scroll going on. Until the reading or the
    // settings change, further ticks would do nothing but refresh the position text.
    bool AtRest() const;

  private:
    void RefreshPositionText(ScreenPoint position);
    void Accelerate(bool moved);
    float StepFromSpeed();
    void HandleButtons(std::int32_t mask);
    void Press(MouseButtonEvent down, MouseButtonEvent up, const char* held);
    void Scroll();

    JoystickPort& joystick_;
    MouseButtonPort& buttons_;
    const Settings& settings_;
    std::unique_ptr<PointerMotion> motion_;
    PadFollower pad_;
    bool started_ = false;

    ScrollPort* scroll_ = nullptr;
    StickScroll stickScroll_;
    // The pad in use whose capabilities were read (its PadTakes; none before the first pad) and
    // whether it has a scroll stick.
    std::uint32_t capsTakes_ = 0;
    bool scrollStick_ = false;

    JoystickState joy_;
    float pointerStep_ = 0.0f;
    std::int32_t moveTicks_ = 0;
    std::int32_t lastButtons_ = 0;
    std::string heldButton_;
    // The up events owed for the mouse buttons pressed and not yet released, in press order.
    std::array<MouseButtonEvent, 3> pressed_{};
    std::size_t pressedCount_ = 0;

    std::string positionText_;
    ScreenPoint shownPosition_{};
    bool positionShown_ = false;

    // The speed text last parsed and its step, so a tick parses only when the text changed.
    std::string parsedSpeed_;
    float parsedStep_ = 0.0f;
    bool speedParsed_ = false;

    PauseChord chord_;
    std::array<std::int16_t, 2> backStart_{};
    bool paused_ = false;
    std::function<void(bool)> pauseHandler_;
};

}  // namespace vantrel
