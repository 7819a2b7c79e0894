// XTest moved by distances, for an engine that has been sending distances to an output that was
// lost: each move reads the pointer, places it and waits until the server has done so.
#pragma once

#include <cstdint>

#include "core/engine/MouseButtonPort.h"
#include "core/engine/PointerPort.h"
#include "platform/pointer/xtest/X11Pointer.h"

namespace vantrel {

class XTestByDistance : public RelativePointerPort, public MouseButtonPort, public ScrollPort {
  public:
    // `sameServerAs`: as for X11Pointer.
    explicit XTestByDistance(_XDisplay* sameServerAs) : x11_(sameServerAs) {}

    bool MoveBy(std::int32_t dx, std::int32_t dy) override {
        ScreenPoint at;
        return x11_.QueryPosition(at) && x11_.PlaceAt(at.x + dx, at.y + dy) && x11_.Sync();
    }
    void Send(MouseButtonEvent event) override { x11_.Send(event); }
    // Nothing reads this pointer every tick, so the clicks go out at once.
    bool ScrollBy(std::int32_t horizontal, std::int32_t vertical) override {
        return x11_.ScrollBy(horizontal, vertical) && x11_.Sync();
    }

  private:
    X11Pointer x11_;
};

}  // namespace vantrel
