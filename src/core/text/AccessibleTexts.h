// Words only a screen reader speaks, for things no language-file line names (the language files
// keep their format, so these stay English in every language).
#pragma once

#include <array>
#include <string_view>

namespace vantrel {

enum class AccessibleTextId { JoystickPicture };

inline constexpr std::array<std::string_view, 1> kAccessibleTexts = {
    "Picture of a joystick",  // JoystickPicture: the options dialog's picture
};

constexpr std::string_view AccessibleText(AccessibleTextId id) {
    return kAccessibleTexts[static_cast<std::size_t>(id)];
}

}  // namespace vantrel
