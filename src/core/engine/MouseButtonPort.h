// What the engine needs to press and release mouse buttons at the pointer's position.
#pragma once

#include <cstdint>

namespace vantrel {

enum class MouseButtonEvent : std::uint8_t {
    LeftDown,
    LeftUp,
    RightDown,
    RightUp,
    MiddleDown,
    MiddleUp,
};

enum class MouseButton : std::uint8_t { Left, Right, Middle };

// Which button an event moves, and whether it goes down: for backends that send the two apart.
struct MouseButtonChange {
    MouseButton button;
    bool pressed;
};

constexpr MouseButtonChange ChangeOf(MouseButtonEvent event) {
    switch (event) {
        case MouseButtonEvent::LeftDown:
            return {MouseButton::Left, true};
        case MouseButtonEvent::LeftUp:
            return {MouseButton::Left, false};
        case MouseButtonEvent::RightDown:
            return {MouseButton::Right, true};
        case MouseButtonEvent::RightUp:
            return {MouseButton::Right, false};
        case MouseButtonEvent::MiddleDown:
            return {MouseButton::Middle, true};
        case MouseButtonEvent::MiddleUp:
            return {MouseButton::Middle, false};
    }
    return {MouseButton::Left, false};
}

// The Linux input codes of the buttons (BTN_LEFT, BTN_RIGHT, BTN_MIDDLE), which the uinput,
// wlroots and portal outputs send; the uinput output checks them against the kernel's header.
constexpr std::uint16_t EvdevButtonCode(MouseButton button) {
    switch (button) {
        case MouseButton::Left:
            return 0x110;
        case MouseButton::Right:
            return 0x111;
        case MouseButton::Middle:
            return 0x112;
    }
    return 0x110;
}

class MouseButtonPort {
  public:
    virtual ~MouseButtonPort() = default;
    virtual void Send(MouseButtonEvent event) = 0;
};

}  // namespace vantrel
