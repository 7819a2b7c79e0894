#include "core/engine/PauseChord.h"

namespace vantrel {

namespace {

std::uint32_t ButtonBit(std::int16_t setting, std::int16_t padsOwn) {
    const std::int16_t button = setting == kPadsOwnButton ? padsOwn : setting;
    return button >= 1 && button <= kHighestChordButton ? std::uint32_t{1} << (button - 1) : 0;
}

}  // namespace

std::uint32_t PauseChordMask(const Settings& settings,
                             const std::array<std::int16_t, 2>& backStart) {
    const std::uint32_t first = ButtonBit(settings.PauseFirst, backStart[0]);
    const std::uint32_t second = ButtonBit(settings.PauseSecond, backStart[1]);
    // One button twice is no chord: pressed alone for a second it would pause by accident.
    return first != 0 && second != 0 && first != second ? first | second : 0;
}

void PauseChord::SetMask(std::uint32_t mask) {
    if (mask == mask_) return;
    mask_ = mask;
    heldTicks_ = 0;
    spent_ = false;
}

bool PauseChord::Counts(std::uint32_t buttons) const {
    return mask_ != 0 && !spent_ && (buttons & mask_) == mask_;
}

bool PauseChord::Feed(std::uint32_t buttons) {
    if (spent_ && (buttons & mask_) == 0) spent_ = false;
    if (!Counts(buttons)) {
        heldTicks_ = 0;
        return false;
    }
    if (++heldTicks_ < kHoldTicks) return false;
    heldTicks_ = 0;
    spent_ = true;
    return true;
}

}  // namespace vantrel
