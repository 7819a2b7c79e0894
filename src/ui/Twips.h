// Window layouts are given in twips (1/1440 inch); the screen wants whole pixels.
#pragma once

#include <cmath>

namespace vantrel {

inline constexpr double kTwipsPerInch = 1440.0;

// Rounded to nearest, ties to even (the default floating-point rounding mode).
inline int TwipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::nearbyint(twips * dotsPerInch / kTwipsPerInch));
}

}  // namespace vantrel
