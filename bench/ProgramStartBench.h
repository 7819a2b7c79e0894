// Start-up of the real program executable, found and run with the scripted joystick: time from
// its start to its icon on the screen, and its resident memory then.
#pragma once

#include <string>
#include <vector>

namespace vantrel::bench {

// Starts each of `programs` (from a copy of its folder) `runs` times, in turn, so builds to
// compare share the machine's moments; needs umockdev-wrapper, a display and a notification
// area (scripts/bench). With `laterSeconds`, each run also reads the memory that long after the
// start, when the update check (2 s after the icon) is over.
void ProgramStartFigures(const std::vector<std::string>& programs, int runs,
                         double laterSeconds = 0);

}  // namespace vantrel::bench
