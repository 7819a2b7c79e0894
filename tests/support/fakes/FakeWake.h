// A poll timer and a wake source for tests: the timer only records whether it runs, the wake
// source is armed by Watch and fired by hand.
#pragma once

#include <functional>

#include "core/engine/WakePorts.h"

namespace vantrel::test {

class FakePollTimer : public PollTimerPort {
  public:
    bool running = false;
    int starts = 0;
    void StartTicking() override {
        running = true;
        ++starts;
    }
    void StopTicking() override { running = false; }
};

class FakeWakeSource : public WakeSourcePort {
  public:
    bool watchable = true;  // false: no node to watch, as for a virtual joystick
    bool armed = false;
    int watchedId = -1;
    WakeInput watchedInput = WakeInput::StickAndButtons;
    // Runs inside Watch, after arming: input that arrives while the source is being armed.
    std::function<void()> duringWatch;

    void SetWakeHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
    bool Watch(int id, WakeInput input) override {
        if (!watchable) return false;
        armed = true;
        watchedId = id;
        watchedInput = input;
        if (duringWatch) duringWatch();
        return true;
    }
    void Unwatch() override { armed = false; }

    // A change on the device or the device list: the handler runs only while armed, as a real
    // source sees nothing else.
    void Fire() {
        if (armed && handler_) handler_();
    }

  private:
    std::function<void()> handler_;
};

}  // namespace vantrel::test
