// A relative pointer output that hands over to the next one when it is lost for good: the
// wlroots virtual pointer whose compositor connection cannot be made again, the portal whose
// session the desktop refused or closed.
#pragma once

#include <functional>
#include <vector>

#include "core/engine/MouseButtonPort.h"
#include "core/engine/PointerPort.h"
#include "core/engine/ScrollPort.h"

namespace vantrel {

class FallbackPointer : public RelativePointerPort, public MouseButtonPort, public ScrollPort {
  public:
    struct Output {
        RelativePointerPort* pointer = nullptr;
        MouseButtonPort* buttons = nullptr;
        ScrollPort* scroll = nullptr;  // none: this output cannot scroll
    };
    struct Hooks {
        std::function<bool()> firstLost;   // true once the first output is gone for good
        std::function<Output()> makeNext;  // called once, at the hand-over; may return nothing
        std::function<void()> announce;    // called once, at the hand-over
    };
    FallbackPointer(Output first, Hooks hooks) : current_(first), hooks_(std::move(hooks)) {}

    bool MoveBy(std::int32_t dx, std::int32_t dy) override;
    void Send(MouseButtonEvent event) override;
    // Scrolls as MoveBy moves: a lost output's scroll goes to the next one.
    bool ScrollBy(std::int32_t horizontal, std::int32_t vertical) override;
    void EndScroll() override;
    // Hands over now if the first output is lost; moves and buttons also check.
    void HandOverIfLost();

  private:
    Output current_;
    Hooks hooks_;
    bool handedOver_ = false;
    // Buttons down on the current output: the next one gets them pressed again.
    std::vector<MouseButtonEvent> held_;
};

}  // namespace vantrel
