// What the tray icon tells of the run: its picture and its tooltip follow one of these states.
#pragma once

#include <optional>

#include "core/text/LangText.h"

namespace vantrel {

// Normal: the program icon, without a tooltip. Paused: the joystick moves and clicks nothing
// until the pause ends (a greyed icon with a pause mark). WaitingForJoystick: started at logon
// before any pad was there, the run waits for one (the program icon greyed).
enum class TrayState { Normal, Paused, WaitingForJoystick };

// The language line the tooltip shows in `state`; none where the icon has no tooltip.
constexpr std::optional<TextId> TrayTooltip(TrayState state) {
    switch (state) {
        case TrayState::Normal:
            return std::nullopt;
        case TrayState::Paused:
            return TextId::PausedTooltip;
        case TrayState::WaitingForJoystick:
            return TextId::WaitingForJoystick;
    }
    return std::nullopt;
}

}  // namespace vantrel
