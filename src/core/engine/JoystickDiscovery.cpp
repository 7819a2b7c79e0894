#include "core/engine/JoystickDiscovery.h"

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

}  // namespace vantrel
