// The poll tick over the real SDL joystick and X11 pointer backends: microseconds and X round
// trips per tick. Needs a display (scripts/with-xvfb).
#pragma once

namespace vantrel::bench {

void BackendFigures();

}  // namespace vantrel::bench
