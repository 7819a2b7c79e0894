// Joysticks through SDL2: presence, name, button count, the second stick, identity and state, by
// SDL device index.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/engine/JoystickPort.h"

struct _SDL_Joystick;
struct _SDL_GameController;

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
    // Axes 0 and 1 as value + 32768, button i as bit i, the second stick likewise. A device
    // that was unplugged fails; when a device is at that index again it is opened on this or a
    // later call.
    bool ReadState(int id, JoystickState& state) override;
    // SDL's GUID, the serial of an opened device (where its driver reports one), its node and
    // its instance id, new at every plugging.
    bool ReadIdentity(int id, PadIdentity& identity) override;
    void RefreshDevices() override;
    // The count and the highest instance id present: SDL numbers every plugging anew, upwards,
    // so a list with a device added since has a higher one, and a list with only some removed
    // a lower count.
    std::uint64_t DeviceListStamp() override;

    // The evdev codes (x, y) of device `id`'s second stick, as of the last read; -1 where it
    // has none or its node is no evdev node.
    std::array<int, 2> ScrollAxisCodes(int id) const;

    // The device node SDL reads device `id` from: nullopt when there is no device `id`, "" for
    // a device without a node (a virtual joystick). As of the last read.
    std::optional<std::string> DeviceNode(int id) const;

  private:
    // Devices kept open between calls; ids beyond are opened only to read their capabilities.
    static constexpr int kSlots = 16;
    struct Slot {
        _SDL_Joystick* joystick = nullptr;
        // The second stick: through the game-controller mapping, which may invert an axis, or
        // else the joystick's own axes (-1: none); its evdev codes for the wake-ups.
        _SDL_GameController* pad = nullptr;
        std::array<int, 2> scrollAxes{-1, -1};
        std::array<int, 2> scrollCodes{-1, -1};
        int refusedInstance = -1;  // a device that would not open is not retried every tick

        bool HasScrollStick() const { return pad != nullptr || scrollAxes[0] >= 0; }
    };

    // The slot of device `id` with its joystick open, or nullptr.
    Slot* DeviceAt(int id);
    static void CloseSlot(Slot& slot);
    static void ChooseScrollStick(int id, Slot& slot);

    bool ready_ = false;
    std::array<Slot, kSlots> slots_{};
};

}  // namespace vantrel
