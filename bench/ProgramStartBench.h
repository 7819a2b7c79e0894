// Start-up of the real program executable, found and run with the scripted joystick: time from
// its start to its icon on the screen, and its resident memory then.
#pragma once

namespace vantrel::bench {

// Starts `program` (from a copy of its folder) `runs` times; needs umockdev-wrapper, a display
// and a notification area (scripts/bench).
void ProgramStartFigures(const char* program, int runs);

}  // namespace vantrel::bench
