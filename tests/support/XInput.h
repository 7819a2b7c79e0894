// Real pointer input for tests under Xvfb, through XTest (kept apart: Xlib's macros clash with
// names used elsewhere).
#pragma once

namespace vantrel::test {

// Moves the pointer to (x, y) and clicks `button` (1 left, 2 middle, 3 right) `clicks` times
// in quick succession. False when no display or no XTest.
bool XClick(int x, int y, int button, int clicks = 1);

}  // namespace vantrel::test
