#include "core/info/AboutScroller.h"

#include <limits>

namespace vantrel {

AboutScroller::AboutScroller(int viewportHeight, int panelHeight)
    : viewportHeight_(viewportHeight), panelHeight_(panelHeight) {}

void AboutScroller::Reset() {
    top_ = kStartTop;
    pause_ = 0;
}

void AboutScroller::Tick() {
    if (viewportHeight_ - panelHeight_ < top_) {
        top_ -= kStep;  // the panel's end is still below the viewport's bottom
    } else {
        // The counter keeps counting while the panel scrolls out; saturate rather than wrap, so
        // a panel taller than any real one cannot turn the pause back on.
        if (pause_ < std::numeric_limits<std::int16_t>::max()) ++pause_;
        if (pause_ > kPauseTicks) top_ -= kStep;
    }
    if (-panelHeight_ > top_) Reset();  // left the viewport at the top: start over
}

AboutScroller::Phase AboutScroller::CurrentPhase() const {
    if (pause_ == 0) return Phase::ScrollingIn;
    if (pause_ <= kPauseTicks) return Phase::Resting;
    return Phase::ScrollingOut;
}

}  // namespace vantrel
