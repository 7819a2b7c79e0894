// What a joystick tells of itself: its name, as the system reports it, and its button count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

struct JoystickInfo {
    std::string name;  // at most kMaxNameBytes bytes of UTF-8
    std::uint32_t buttonCount = 0;

    // The longest name a device record holds: 31 bytes and the closing NUL.
    static constexpr std::size_t kMaxNameBytes = 31;
    // Stores `text` cut to kMaxNameBytes (on a UTF-8 character boundary).
    void SetName(std::string_view text);
};

}  // namespace vantrel
