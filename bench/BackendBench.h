// The poll tick over the real SDL joystick and X11 pointer backends: microseconds and X round
// trips per tick. Needs a display (scripts/with-xvfb).
#pragma once

namespace vantrel::bench {

void BackendFigures();
// Only `ticks` real ticks, nothing timed: for counting system calls from outside (strace).
void BackendTicksOnly(bool moving, int ticks);

}  // namespace vantrel::bench
