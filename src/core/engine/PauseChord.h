// The pause chord: two joystick buttons held together for a second pause the joystick's
// pointer, and held so once more end the pause. This class only times the hold.
#pragma once

#include <array>
#include <cstdint>

#include "core/engine/WakePorts.h"
#include "core/settings/Settings.h"

namespace vantrel {

// The highest button a chord can take: button 32 is the sign bit, which the engine reads as no
// button at all.
inline constexpr std::int16_t kHighestChordButton = 31;

// The chord's buttons as a mask (bit n-1 for button n) for the settings on a pad whose own Back
// and Start are `backStart` (0 where unknown): each setting names its button or, at
// kPadsOwnButton, the pad's. 0, no chord, unless that gives two different buttons of
// 1..kHighestChordButton.
std::uint32_t PauseChordMask(const Settings& settings,
                             const std::array<std::int16_t, 2>& backStart);

class PauseChord {
  public:
    // How many ticks in a row the chord is held before it acts: one second of polls.
    static constexpr int kHoldTicks = 1000 / kPollIntervalMs;

    // A chord of other buttons starts with no hold counted.
    void SetMask(std::uint32_t mask);
    std::uint32_t Mask() const { return mask_; }

    // One tick's buttons. True on the tick that completes a hold; then every button of the
    // chord must be let go before another hold counts.
    bool Feed(std::uint32_t buttons);
    // True when a tick with these buttons would count towards a hold.
    bool Counts(std::uint32_t buttons) const;
    // After a completed hold, the chord's buttons until all of them are let go (else 0): they
    // press no mouse button, as the second one let go would otherwise be a button alone.
    std::uint32_t Spent() const { return spent_ ? mask_ : 0; }

  private:
    std::uint32_t mask_ = 0;
    int heldTicks_ = 0;
    bool spent_ = false;
};

}  // namespace vantrel
