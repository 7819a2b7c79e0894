// An SDL virtual joystick (2 axes, or 6 with a right stick and triggers; 12 buttons) that a test
// or the benchmark moves by hand.
#pragma once

#include <SDL.h>

#include <string>

namespace vantrel::test {

// The pad every test plugs in: a game controller with 12 buttons and 2 axes, or with 6 the
// mapping SDL makes for it: left stick 0 and 1, right stick 2 and 3, triggers 4 and 5.
inline SDL_VirtualJoystickDesc PadDescription(const char* name, Uint16 axes = 2) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = axes;
    desc.nbuttons = 12;
    desc.name = name;
    return desc;
}

class VirtualPad {
  public:
    static constexpr int kButtons = 12;

    // SDL's joystick subsystem must be running (SdlJoysticks starts it).
    explicit VirtualPad(std::string name = "Vantrel Test Pad", Uint16 axes = 2)
        : name_(std::move(name)) {
        const SDL_VirtualJoystickDesc desc = PadDescription(name_.c_str(), axes);
        index_ = SDL_JoystickAttachVirtualEx(&desc);
        if (index_ >= 0) handle_ = SDL_JoystickOpen(index_);
    }
    ~VirtualPad() { Detach(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool Attached() const { return handle_ != nullptr; }
    // The SDL device index, which the program uses as the device id.
    int Index() const { return index_; }

    // SDL axis values, -32768..32767; the program sees them as value + 32768.
    bool SetAxes(Sint16 x, Sint16 y) { return SetAxis(0, x) && SetAxis(1, y); }
    bool SetAxis(int axis, Sint16 value) {
        return handle_ != nullptr && SDL_JoystickSetVirtualAxis(handle_, axis, value) == 0;
    }
    // Button from 0 (the program's button 1).
    bool SetButton(int button, bool down) {
        return handle_ != nullptr && SDL_JoystickSetVirtualButton(
                                         handle_, button, down ? SDL_PRESSED : SDL_RELEASED) == 0;
    }

    // Unplugs the device.
    void Detach() {
        if (handle_ != nullptr) SDL_JoystickClose(handle_);
        handle_ = nullptr;
        if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
        index_ = -1;
    }

  private:
    std::string name_;
    int index_ = -1;
    SDL_Joystick* handle_ = nullptr;
};

}  // namespace vantrel::test
