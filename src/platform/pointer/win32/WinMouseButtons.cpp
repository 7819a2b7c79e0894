#include "platform/pointer/win32/WinMouseButtons.h"

#include <windows.h>

namespace vantrel {

namespace {

// The system's flag for each event; 0 for any other value, since other bits would move the
// pointer or turn the event into a wheel turn.
DWORD SystemFlags(MouseButtonEvent event) {
    switch (event) {
        case MouseButtonEvent::LeftDown:
            return MOUSEEVENTF_LEFTDOWN;
        case MouseButtonEvent::LeftUp:
            return MOUSEEVENTF_LEFTUP;
        case MouseButtonEvent::RightDown:
            return MOUSEEVENTF_RIGHTDOWN;
        case MouseButtonEvent::RightUp:
            return MOUSEEVENTF_RIGHTUP;
        case MouseButtonEvent::MiddleDown:
            return MOUSEEVENTF_MIDDLEDOWN;
        case MouseButtonEvent::MiddleUp:
            return MOUSEEVENTF_MIDDLEUP;
    }
    return 0;
}

}  // namespace

bool WinMouseButtons::Inject(MouseButtonEvent event) {
    const DWORD flags = SystemFlags(event);
    if (flags == 0) return false;
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;  // dx = dy = 0: no motion, at the pointer
    return SendInput(1, &input, sizeof input) == 1;
}

void WinMouseButtons::Send(MouseButtonEvent event) {
    // The tick goes on whether or not the system took the event.
    const bool injected = Inject(event);
    static_cast<void>(injected);
}

}  // namespace vantrel
