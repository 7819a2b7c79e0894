// A joystick port for tests: devices by id with their capabilities, state and read outcome.
#pragma once

#include <map>

#include "core/engine/JoystickPort.h"

namespace vantrel::test {

class FakeJoystick : public JoystickPort {
  public:
    struct Device {
        JoystickInfo caps;
        JoystickState state;
        bool readable = true;  // false: ReadState fails while the device still counts as present
    };

    // Adds (or replaces) device `id` with a name and a button count; returns it for further set-up.
    Device& Plug(int id, std::string_view name = "Pad", std::uint32_t buttons = 12) {
        Device& device = devices_[id];
        device.caps = JoystickInfo{};
        device.caps.name = name;
        device.caps.buttonCount = buttons;
        return device;
    }
    void Unplug(int id) { devices_.erase(id); }
    Device& At(int id) { return devices_.at(id); }

    // Shorthands for the device the tests usually drive.
    void SetAxes(std::uint32_t x, std::uint32_t y, int id = 0) {
        At(id).state.x = x;
        At(id).state.y = y;
    }
    void SetButtons(std::uint32_t mask, int id = 0) { At(id).state.buttons = mask; }

    bool ReadInfo(int id, JoystickInfo& caps) override {
        ++capsQueries;
        const auto found = devices_.find(id);
        if (found == devices_.end()) return false;
        caps = found->second.caps;
        return true;
    }

    bool ReadState(int id, JoystickState& state) override {
        ++stateReads;
        lastReadId = id;
        const auto found = devices_.find(id);
        if (found == devices_.end() || !found->second.readable) return false;
        state = found->second.state;
        return true;
    }

    int capsQueries = 0;
    int stateReads = 0;
    int lastReadId = -1;

  private:
    std::map<int, Device> devices_;
};

}  // namespace vantrel::test
