// What the poll scheduler drives and listens to: the poll timer, and a source of wake-ups that
// says when the joystick may have changed while that timer is stopped.
#pragma once

#include <functional>

namespace vantrel {

// How often the joystick is read while it is in use.
inline constexpr int kPollIntervalMs = 5;

// The periodic poll timer, every kPollIntervalMs.
class PollTimerPort {
  public:
    virtual ~PollTimerPort() = default;
    // Starts the timer; its first tick comes one interval later.
    virtual void StartTicking() = 0;
    virtual void StopTicking() = 0;
};

// What input on the joystick can end the rest: the stick and the buttons, or while the pointer
// is paused only the buttons (a game may be steering with the stick for hours).
enum class WakeInput { StickAndButtons, ButtonsOnly };

// Whatever can tell that joystick input arrived or a device came or went.
class WakeSourcePort {
  public:
    virtual ~WakeSourcePort() = default;
    // Called, from the event loop, for every change seen while armed.
    virtual void SetWakeHandler(std::function<void()> handler) = 0;
    // Arms the source for joystick `id`: input of that kind on that device that can end the
    // rest (a source may leave out a stick moving inside the dead zone,
    // PollEngine::IsRestReading), or any joystick plugged in or out, calls the handler. Changes
    // seen before this call are forgotten. False when such changes cannot be seen for this
    // device (then the caller must keep polling).
    virtual bool Watch(int id, WakeInput input) = 0;
    // Disarms: no handler calls until the next Watch.
    virtual void Unwatch() = 0;
};

// For platforms and tests with nothing to watch: the timer never stops.
class NoWakeSource : public WakeSourcePort {
  public:
    void SetWakeHandler(std::function<void()>) override {}
    bool Watch(int, WakeInput) override { return false; }
    void Unwatch() override {}
};

}  // namespace vantrel
