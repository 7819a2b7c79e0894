// What the engine needs to press and release mouse buttons at the pointer's position.
#pragma once

#include <cstdint>

namespace vantrel {

// Values of the Windows mouse_event flags, kept so a Windows backend passes them through.
enum class MouseEvent : std::uint32_t {
    LeftDown = 0x0002,
    LeftUp = 0x0004,
    RightDown = 0x0008,
    RightUp = 0x0010,
    MiddleDown = 0x0020,
    MiddleUp = 0x0040,
};

class MouseButtonPort {
public:
    virtual ~MouseButtonPort() = default;
    virtual void Send(MouseEvent event) = 0;
};

}  // namespace vantrel
