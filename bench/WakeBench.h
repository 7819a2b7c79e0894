// The program at rest with its poll timer running against the same program asleep between
// wake-ups: wake-ups and CPU of the program and the X server, and the delay from a joystick
// event to the first pointer move.
#pragma once

namespace vantrel::bench {

// Needs a QApplication on a display; `seconds` per measured window.
void WakeFigures(double seconds);
// At rest with a scripted DualShock 4: silent against a stick that jitters by one step, in
// alternated windows of one process.
void JitterFigures(double seconds, int pairs);
// The moving tick's two paths on X11 in alternated windows of one process: reading and placing
// the pointer against one relative motion per axis.
void MovingPathFigures(double seconds, int pairs);

}  // namespace vantrel::bench
