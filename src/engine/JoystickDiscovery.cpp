#include "engine/JoystickDiscovery.h"

namespace vantrel {

int CountJoysticks(JoystickPort& port) {
    int count = 0;
    for (int id = 0; id <= kMaxJoystickId; ++id) {
        JoyCaps scratch;
        if (port.ReadCaps(id, scratch)) ++count;
    }
    return count;
}

void ReadJoystickCaps(JoystickPort& port, const Settings& settings, JoyCaps& caps) {
    // Work on a copy so a backend that fills part of the record before failing cannot leave
    // the caller with a mix of old and new fields.
    JoyCaps answer = caps;
    if (port.ReadCaps(settings.JoystickId, answer)) caps = answer;
}

}  // namespace vantrel
