// What the event loop delivers: ticks per second of the 5 ms precise timer, the spread of the
// tick interval, and the CPU time the running program takes per second while the stick rests.
#pragma once

namespace vantrel::bench {

class ProgramRig;

// Starts the program rig and waits for its tray icon; false (and says why) when it cannot run.
bool StartRig(ProgramRig& rig);

// Needs a QApplication on a display. `seconds` per measured phase; `programOnly` skips the
// floor and the bare timer (for profiling the program alone).
void TimerFigures(double seconds, bool programOnly);
// The running program at rest, alternating `pairs` times between fresh and pipelined reads of
// the position text, `seconds` each: both sides share the machine's state of the moment.
void PipelineFigures(double seconds, int pairs);

}  // namespace vantrel::bench
