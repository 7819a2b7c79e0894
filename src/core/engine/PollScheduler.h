// When the poll timer runs: from start-up, or from a wake-up, until a tick finds the engine at
// rest; then, where something can wake the program, no ticks at all until it does.
#pragma once

#include <functional>

#include "core/engine/JoystickPort.h"
#include "core/engine/PollEngine.h"
#include "core/engine/WakePorts.h"

namespace vantrel {

class PollScheduler {
  public:
    // Sets the wake source's handler to OnWake. Everything must outlive the scheduler.
    PollScheduler(PollEngine& engine, JoystickPort& joystick, PollTimerPort& timer,
                  WakeSourcePort& wake);

    // `listener` hears after every tick, the timer's and a wake-up's, once the scheduler has
    // settled.
    void SetTickListener(std::function<void()> listener) { tickListener_ = std::move(listener); }

    // Start-up is done: the timer starts.
    void Start();
    // The end of the run: timer stopped, nothing watched, later wake-ups ignored.
    void Stop();

    // The timer fired: one tick; the timer stops when that tick found the engine at rest and
    // a change of the joystick can wake the program. Outside polling (a tick asked for by
    // hand) only the tick.
    void OnTimer();
    // The joystick or the device list changed while asleep: a tick at once, then the timer
    // again unless that tick found rest. Ignored while polling, where the next tick sees it.
    void OnWake();
    // The settings changed (Apply, OK). While asleep one tick now, so that a new speed or
    // joystick is in force for the next move, as the next 5 ms tick would have done.
    void OnSettingsChanged();

    bool Polling() const { return mode_ == Mode::Polling; }
    bool Asleep() const { return mode_ == Mode::Asleep; }

  private:
    enum class Mode { Off, Polling, Asleep };

    // One tick, then polling or asleep as that tick decides.
    void TickAndSettle();
    bool TrySleep();

    PollEngine& engine_;
    JoystickPort& joystick_;
    PollTimerPort& timer_;
    WakeSourcePort& wake_;
    std::function<void()> tickListener_;
    Mode mode_ = Mode::Off;
};

}  // namespace vantrel
