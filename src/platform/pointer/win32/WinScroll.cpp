#include "platform/pointer/win32/WinScroll.h"

#include <windows.h>

#include <array>

namespace vantrel {

namespace {

INPUT WheelInput(DWORD flag, std::int32_t units) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;  // dx = dy = 0: at the pointer
    // A signed amount in the unsigned field, as the system reads it back.
    input.mi.mouseData = static_cast<DWORD>(units);
    return input;
}

}  // namespace

bool WinScroll::ScrollBy(std::int32_t horizontal, std::int32_t vertical) {
    std::array<INPUT, 2> inputs{};
    UINT count = 0;
    if (vertical != 0) inputs[count++] = WheelInput(MOUSEEVENTF_WHEEL, vertical);
    if (horizontal != 0) inputs[count++] = WheelInput(MOUSEEVENTF_HWHEEL, horizontal);
    if (count == 0) return true;
    return SendInput(count, inputs.data(), sizeof(INPUT)) == count;
}

}  // namespace vantrel
