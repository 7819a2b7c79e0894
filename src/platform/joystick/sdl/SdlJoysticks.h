// Joysticks through SDL2: presence, name, button count and state, by SDL device index.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/engine/JoystickPort.h"

struct _SDL_Joystick;

namespace vantrel {

// Starts SDL's joystick and game-controller subsystems (no video, no signal handlers, input
// also while another window has the focus) for its lifetime.
class SdlJoysticks : public JoystickPort {
  public:
    SdlJoysticks();
    ~SdlJoysticks() override;
    SdlJoysticks(const SdlJoysticks&) = delete;
    SdlJoysticks& operator=(const SdlJoysticks&) = delete;

    // False when SDL could not start; every query then fails.
    bool Ready() const { return ready_; }

    bool ReadInfo(int id, JoystickInfo& caps) override;
    // Axes 0 and 1 as value + 32768, button i as bit i. A device that was unplugged fails;
    // when a device is at that index again it is opened on this or a later call.
    bool ReadState(int id, JoystickState& state) override;

    // The device node SDL reads device `id` from: nullopt when there is no device `id`, "" for
    // a device without a node (a virtual joystick). As of the last read.
    std::optional<std::string> DeviceNode(int id) const;

  private:
    // Devices kept open between calls; ids beyond are opened only to read their capabilities.
    static constexpr int kSlots = 16;
    struct Slot {
        _SDL_Joystick* joystick = nullptr;
        int refusedInstance = -1;  // a device that would not open is not retried every tick
    };

    _SDL_Joystick* DeviceAt(int id);

    bool ready_ = false;
    std::array<Slot, kSlots> slots_{};
};

}  // namespace vantrel
