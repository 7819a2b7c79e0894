#include "core/settings/Settings.h"

namespace vantrel {

Settings DefaultSettings() {
    Settings s;
    s.LeftButton = 1;
    s.RightButton = 2;
    s.MiddleButton = 3;
    s.PointerSpeed = "2";
    s.Acceleration = 1;
    s.StartAtLogon = 1;
    s.JoystickId = 0;
    return s;
}

}  // namespace vantrel
