// How the second stick scrolls: nothing inside a round dead zone, then a rate that grows with the
// square of the push beyond it up to the scroll speed's top rate, both wheels at once; each tick
// hands the output the 120ths of a notch due, keeping the fractions for the next tick.
#pragma once

#include <array>
#include <cstdint>

#include "core/engine/ScrollPort.h"
#include "core/engine/WakePorts.h"

namespace vantrel {

// The poll's ticks in a second: the rates below are per second, the scroll per tick.
inline constexpr int kScrollTicksPerSecond = 1000 / kPollIntervalMs;

// Top rates at full push in 120ths of a notch a second, for scroll speeds 1..5: 3, 5, 8, 12 and
// 18 notches. 12 a second is where users of other pads' tools find reading too hard; the
// default, 8, still crosses a long page in a few seconds, and the square curve gives a slow,
// smooth crawl at a small push.
inline constexpr std::array<std::int32_t, 5> kTopScrollRates{360, 600, 960, 1440, 2160};

class StickScroll {
  public:
    // True when a stick at (x, y) on 0..65535 (centre 32767.5) is out of the dead zone.
    static bool Pushes(std::uint32_t x, std::uint32_t y);

    // One tick with the stick at (x, y), y growing downwards as a screen's: pushing up scrolls
    // the content up. Sends what is due, if anything; when the stick is back in the dead zone
    // after a scroll, ends it once.
    void Tick(std::uint32_t x, std::uint32_t y, std::int16_t speed, ScrollPort& port);

    // True from a tick that pushed until the tick that ended the scroll.
    bool Scrolling() const { return scrolling_; }

  private:
    // Units due but not yet whole, per wheel, in 65536ths of a unit: less than one either way.
    // Whole numbers, so that a second's ticks add up to the rate and no rounding creeps in.
    std::int64_t horizontal_ = 0;
    std::int64_t vertical_ = 0;
    bool scrolling_ = false;
};

}  // namespace vantrel
