// The whole pixels each moving tick of an acceleration run moves at the default speed "2": the
// step grows after 20, 40, 60 and 80 moving ticks.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

namespace vantrel::test {

constexpr std::array<int, 5> kSpeedTwoRunSteps{2, 3, 4, 6, 9};

// The pixels moving tick `tick` (counted from 1) moves by.
constexpr int SpeedTwoStep(std::size_t tick) {
    return kSpeedTwoRunSteps[std::min<std::size_t>((tick - 1) / 20, 4)];
}

}  // namespace vantrel::test
