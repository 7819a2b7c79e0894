// A joystick port for tests: devices by id with their capabilities, identity, state and read
// outcome; every plug and unplug changes the device list's stamp.
#pragma once

#include <iterator>
#include <map>
#include <string>

#include "core/engine/JoystickPort.h"

namespace vantrel::test {

class FakeJoystick : public JoystickPort {
  public:
    struct Device {
        JoystickInfo caps;
        JoystickState state;
        PadIdentity identity;  // by default the model is the name, each plugging a new number
        bool readable = true;  // false: ReadState fails while the device still counts as present
    };

    // Adds (or replaces) device `id` with a name and a button count; returns it for further set-up.
    Device& Plug(int id, std::string_view name = "Pad", std::uint32_t buttons = 12) {
        Device& device = devices_[id];
        device.caps = JoystickInfo{};
        device.caps.name = name;
        device.caps.buttonCount = buttons;
        device.identity = PadIdentity{};
        device.identity.model = name;
        device.identity.plugging = ++pluggings_;
        ++stamp_;
        return device;
    }
    void Unplug(int id) {
        devices_.erase(id);
        ++stamp_;
    }
    // Unplugged as SDL numbers its devices: the later ones move down one id.
    void UnplugShifting(int id) {
        Unplug(id);
        for (auto next = devices_.upper_bound(id); next != devices_.end();) {
            auto node = devices_.extract(next++);
            --node.key();
            devices_.insert(std::move(node));
        }
    }
    // Plugged in as SDL numbers its devices: after the last one.
    Device& PlugLast(std::string_view name = "Pad") {
        return Plug(devices_.empty() ? 0 : std::prev(devices_.end())->first + 1, name);
    }
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

    bool ReadIdentity(int id, PadIdentity& identity) override {
        const auto found = devices_.find(id);
        if (found == devices_.end()) return false;
        identity = found->second.identity;
        return true;
    }
    void RefreshDevices() override { ++refreshes; }
    std::uint64_t DeviceListStamp() override { return stamp_; }

    int capsQueries = 0;
    int refreshes = 0;
    int stateReads = 0;
    int lastReadId = -1;

  private:
    std::map<int, Device> devices_;
    std::uint64_t stamp_ = 0;
    std::int64_t pluggings_ = 0;
};

}  // namespace vantrel::test
