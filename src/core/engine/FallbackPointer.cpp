#include "core/engine/FallbackPointer.h"

#include <algorithm>

namespace vantrel {

void FallbackPointer::HandOverIfLost() {
    if (handedOver_ || !hooks_.firstLost()) return;
    handedOver_ = true;
    current_ = hooks_.makeNext();
    hooks_.announce();
    // The lost output took its pressed buttons along; a drag goes on with the new one.
    if (current_.buttons == nullptr) return;
    for (MouseButtonEvent down : held_) current_.buttons->Send(down);
}

bool FallbackPointer::MoveBy(std::int32_t dx, std::int32_t dy) {
    if (current_.pointer != nullptr && current_.pointer->MoveBy(dx, dy)) return true;
    if (handedOver_) return false;
    HandOverIfLost();
    // The motion the lost output dropped goes to the new one, so the kept position holds.
    return handedOver_ && current_.pointer != nullptr && current_.pointer->MoveBy(dx, dy);
}

bool FallbackPointer::ScrollBy(std::int32_t horizontal, std::int32_t vertical) {
    if (current_.scroll != nullptr && current_.scroll->ScrollBy(horizontal, vertical)) return true;
    if (handedOver_) return false;
    HandOverIfLost();
    return handedOver_ && current_.scroll != nullptr &&
           current_.scroll->ScrollBy(horizontal, vertical);
}

void FallbackPointer::EndScroll() {
    if (current_.scroll != nullptr) current_.scroll->EndScroll();
}

void FallbackPointer::Send(MouseButtonEvent event) {
    HandOverIfLost();
    const MouseButtonChange change = ChangeOf(event);
    std::erase_if(held_, [&](MouseButtonEvent e) { return ChangeOf(e).button == change.button; });
    if (change.pressed) held_.push_back(event);
    if (current_.buttons != nullptr) current_.buttons->Send(event);
}

}  // namespace vantrel
