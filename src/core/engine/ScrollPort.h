// What the engine needs from an output to scroll: the wheels turned in 120ths of a notch, the
// unit Windows and the kernel's high-resolution wheels share. Outputs that send whole notches
// only collect the fractions in WheelNotches.
#pragma once

#include <cstdint>

namespace vantrel {

inline constexpr std::int32_t kScrollUnitsPerNotch = 120;

class ScrollPort {
  public:
    virtual ~ScrollPort() = default;
    // Turns the wheels by (horizontal, vertical) 120ths of a notch in one report: vertical > 0 is
    // a wheel turned away from the user (the content goes up), horizontal > 0 scrolls to the
    // right. False when the report could not be sent.
    virtual bool ScrollBy(std::int32_t horizontal, std::int32_t vertical) = 0;
    // The stick is back at its centre: a smooth scroll ends here, so a client may start its
    // kinetic scroll or stop at once. Outputs with nothing to finish ignore it.
    virtual void EndScroll() {}
};

// One wheel's fractions of a notch, kept between reports so that none is lost: slow scrolling
// still turns whole notches, at the rate the fine units add up to.
class WheelNotches {
  public:
    // Adds `units` 120ths and returns the whole notches now complete, signed; the rest stays.
    std::int32_t Add(std::int32_t units) {
        rest_ += units;
        const std::int32_t notches = rest_ / kScrollUnitsPerNotch;
        rest_ -= notches * kScrollUnitsPerNotch;
        return notches;
    }

  private:
    std::int32_t rest_ = 0;  // always within one notch of zero, either way
};

}  // namespace vantrel
