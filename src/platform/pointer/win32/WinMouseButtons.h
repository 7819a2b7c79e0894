// Mouse-button presses and releases at the pointer's position, injected with SendInput.
#pragma once

#include "core/engine/MouseButtonPort.h"

namespace vantrel {

class WinMouseButtons final : public MouseButtonPort {
  public:
    void Send(MouseButtonEvent event) override;
    // Send with its outcome: false when the event is not one of the six button events or the
    // system refused it (for instance blocked by a program of higher integrity).
    bool Inject(MouseButtonEvent event);
};

}  // namespace vantrel
