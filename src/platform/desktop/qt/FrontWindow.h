// Windows opened from the tray menu come to the front with the keyboard focus.
#pragma once

class QWidget;

namespace vantrel {

// Once `window` is shown (by exec() or show() right after this call), raises it and asks for
// activation: no window of the program is active while the tray menu runs, and window managers
// may otherwise leave the new one behind the others without the keyboard focus. The window then
// gives the focus to its first control as it always does.
void BringToFrontWhenShown(QWidget& window);

}  // namespace vantrel
