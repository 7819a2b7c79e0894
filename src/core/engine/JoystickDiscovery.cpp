#include "core/engine/JoystickDiscovery.h"

#include <algorithm>

namespace vantrel {

int CountJoysticks(JoystickPort& port) {
    int count = 0;
    for (int id = 0; id <= kMaxJoystickId; ++id) {
        JoystickInfo scratch;
        if (port.ReadInfo(id, scratch)) ++count;
    }
    return count;
}

void ReadJoystickInfo(JoystickPort& port, const Settings& settings, JoystickInfo& caps) {
    // Work on a copy so a backend that fills part of the record before failing cannot leave
    // the caller with a mix of old and new fields.
    JoystickInfo answer = caps;
    if (port.ReadInfo(settings.JoystickId, answer)) caps = answer;
}

void TakeMappedButtons(const JoystickInfo& caps, Settings& settings) {
    const auto& [a, b, x] = caps.mappedButtons;
    if (!std::all_of(caps.mappedButtons.begin(), caps.mappedButtons.end(),
                     [](std::int16_t button) { return button >= 1 && button <= 31; }))
        return;
    settings.LeftButton = a;
    settings.RightButton = b;
    settings.MiddleButton = x;
}

}  // namespace vantrel
