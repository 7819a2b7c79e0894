#include "platform/win32/WinMouseButtons.h"

#include <windows.h>

namespace vantrel {

namespace {

// The engine's values are the system's flags; only the button ones may pass, since other bits
// would move the pointer or turn the event into a wheel turn.
bool IsButtonEvent(MouseEvent event) {
    switch (event) {
        case MouseEvent::LeftDown:
        case MouseEvent::LeftUp:
        case MouseEvent::RightDown:
        case MouseEvent::RightUp:
        case MouseEvent::MiddleDown:
        case MouseEvent::MiddleUp:
            return true;
    }
    return false;
}

static_assert(static_cast<DWORD>(MouseEvent::LeftDown) == MOUSEEVENTF_LEFTDOWN);
static_assert(static_cast<DWORD>(MouseEvent::LeftUp) == MOUSEEVENTF_LEFTUP);
static_assert(static_cast<DWORD>(MouseEvent::RightDown) == MOUSEEVENTF_RIGHTDOWN);
static_assert(static_cast<DWORD>(MouseEvent::RightUp) == MOUSEEVENTF_RIGHTUP);
static_assert(static_cast<DWORD>(MouseEvent::MiddleDown) == MOUSEEVENTF_MIDDLEDOWN);
static_assert(static_cast<DWORD>(MouseEvent::MiddleUp) == MOUSEEVENTF_MIDDLEUP);

}  // namespace

bool WinMouseButtons::Inject(MouseEvent event) {
    if (!IsButtonEvent(event)) return false;
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = static_cast<DWORD>(event);  // dx = dy = 0: no motion, at the pointer
    return SendInput(1, &input, sizeof input) == 1;
}

void WinMouseButtons::Send(MouseEvent event) {
    // The tick goes on whether or not the system took the event.
    const bool injected = Inject(event);
    static_cast<void>(injected);
}

}  // namespace vantrel
