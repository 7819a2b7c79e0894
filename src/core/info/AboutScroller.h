// The about window's credits: a panel that scrolls up through a viewport, rests, and leaves.
#pragma once

#include <cstdint>

namespace vantrel {

// Positions and heights in twips; the panel's top edge is relative to the viewport's top.
class AboutScroller {
  public:
    static constexpr int kIntervalMs = 10;
    static constexpr int kStep = 10;
    static constexpr int kStartTop = 2200;
    static constexpr int kPauseTicks = 120;

    enum class Phase { ScrollingIn, Resting, ScrollingOut };

    AboutScroller(int viewportHeight, int panelHeight);

    // Back to the start: top edge at kStartTop, pause counter 0.
    void Reset();
    // One timer tick.
    void Tick();

    int Top() const { return top_; }
    std::int16_t PauseCount() const { return pause_; }
    Phase CurrentPhase() const;

  private:
    int viewportHeight_;
    int panelHeight_;
    int top_ = kStartTop;
    std::int16_t pause_ = 0;
};

}  // namespace vantrel
