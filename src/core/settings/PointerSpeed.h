// How a pointer-speed text becomes a number: its leading decimal number, blanks ignored.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// The leading number of `text` (period as decimal separator, blanks anywhere skipped, an
// optional sign and exponent); 0 when the text does not start with a number.
double LeadingNumber(std::string_view text);

// The step for a speed that gives no usable one, and the largest usable step (pixels per tick).
inline constexpr float kDefaultPointerStep = 2.0f;
inline constexpr float kMaxPointerStep = 1000.0f;

// The pointer step the engine takes from a speed text: its leading number when that is above 0
// and at most kMaxPointerStep, otherwise kDefaultPointerStep.
float PointerStepFromSpeed(std::string_view speed);

// True when `text` is a plain decimal number such as "2", "0.5" or "-1.5" (no blanks).
bool IsPlainDecimal(std::string_view text);

}  // namespace vantrel
