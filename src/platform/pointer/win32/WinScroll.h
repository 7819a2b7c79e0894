// The wheels on Windows: SendInput turns them by the port's units, which are Windows' own
// (WHEEL_DELTA, 120, a notch), so a slow scroll arrives in fractions of a notch.
#pragma once

#include "core/engine/ScrollPort.h"

namespace vantrel {

class WinScroll final : public ScrollPort {
  public:
    // Vertical and horizontal in one SendInput: MOUSEEVENTF_WHEEL (positive: away from the
    // user, as the port counts) and MOUSEEVENTF_HWHEEL (positive: right). False when the system
    // refused them (for instance blocked by a program of higher integrity).
    bool ScrollBy(std::int32_t horizontal, std::int32_t vertical) override;
};

}  // namespace vantrel
