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

class MouseButtonPort {
public:
    virtual ~MouseButtonPort() = default;
    virtual void Send(MouseButtonEvent event) = 0;
};

}  // namespace vantrel
