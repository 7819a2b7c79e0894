#include "core/engine/PollScheduler.h"

namespace vantrel {

PollScheduler::PollScheduler(PollEngine& engine, JoystickPort& joystick, PollTimerPort& timer,
                             WakeSourcePort& wake)
    : engine_(engine), joystick_(joystick), timer_(timer), wake_(wake) {
    wake_.SetWakeHandler([this] { OnWake(); });
}

void PollScheduler::Start() {
    if (mode_ == Mode::Polling) return;
    mode_ = Mode::Polling;
    timer_.StartTicking();
}

void PollScheduler::Stop() {
    if (mode_ == Mode::Polling) timer_.StopTicking();
    wake_.Unwatch();
    mode_ = Mode::Off;
}

void PollScheduler::OnTimer() {
    engine_.Tick();
    if (mode_ == Mode::Polling && engine_.AtRest() && TrySleep()) {
        timer_.StopTicking();
        mode_ = Mode::Asleep;
    }
    if (tickListener_) tickListener_();
}

void PollScheduler::OnWake() {
    if (mode_ == Mode::Asleep) TickAndSettle();
}

void PollScheduler::OnSettingsChanged() {
    if (mode_ == Mode::Asleep) TickAndSettle();
}

void PollScheduler::TickAndSettle() {
    engine_.Tick();
    if (!engine_.AtRest() || !TrySleep()) {
        wake_.Unwatch();
        mode_ = Mode::Polling;
        timer_.StartTicking();
    }  // else still asleep, watching afresh
    if (tickListener_) tickListener_();
}

bool PollScheduler::TrySleep() {
    const WakeInput input = engine_.Paused() ? WakeInput::ButtonsOnly : WakeInput::StickAndButtons;
    if (!wake_.Watch(engine_.DeviceToRead(), input)) return false;
    // No pad to read: a pad plugged in before the arming would wake nobody either.
    if (engine_.DeviceToRead() < 0) {
        if (!engine_.DeviceListChanged()) return true;
        wake_.Unwatch();
        return false;
    }
    // A change that came between the tick's read and the arming would wake nobody: read once
    // more now that anything later does wake. A failed read is a rest reading, as in the tick.
    JoystickState now;
    if (!joystick_.ReadState(engine_.DeviceToRead(), now)) now = JoystickState{};
    if (engine_.IsRestFor(now)) return true;
    wake_.Unwatch();
    return false;
}

}  // namespace vantrel
