#include "platform/pointer/win32/WinPointer.h"

#include <windows.h>

namespace vantrel {

bool WinPointer::QueryPosition(ScreenPoint& point) {
    POINT position{};
    // Fails on a desktop the process cannot read, such as the secure desktop.
    if (!GetCursorPos(&position)) return false;
    point.x = position.x;
    point.y = position.y;
    return true;
}

bool WinPointer::PlaceAt(std::int32_t x, std::int32_t y) {
    return SetCursorPos(x, y) != FALSE;
}

}  // namespace vantrel
