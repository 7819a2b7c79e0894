// Real pointer input for tests under Xvfb, through XTest, and where the server has the pointer
// (kept apart: Xlib's macros clash with names used elsewhere).
#pragma once

namespace vantrel::test {

// Moves the pointer to (x, y) and clicks `button` (1 left, 2 middle, 3 right) `clicks` times
// in quick succession. False when no display or no XTest.
bool XClick(int x, int y, int button, int clicks = 1);

struct ServerPointer {
    int x = 0, y = 0;
    bool leftDown = false;
};
// Where the server has the pointer and whether its left button is down, asked on a connection
// of its own (as another client sees it); all zero without a display.
ServerPointer XPointer();

}  // namespace vantrel::test
