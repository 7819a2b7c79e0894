#include "core/settings/PointerSpeed.h"

#include <charconv>
#include <cmath>
#include <string>

namespace vantrel {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

double LeadingNumber(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (!IsBlank(c)) compact += c;

    // Longest prefix of the form [+-]digits[.digits][(e|d)[+-]digits].
    std::size_t i = 0;
    std::string number;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) number += compact[i++];
    bool digits = false;
    while (i < compact.size() && IsDigit(compact[i])) number += compact[i++], digits = true;
    if (i < compact.size() && compact[i] == '.') {
        number += compact[i++];
        while (i < compact.size() && IsDigit(compact[i])) number += compact[i++], digits = true;
    }
    if (!digits) return 0.0;
    if (i < compact.size() &&
        (compact[i] == 'e' || compact[i] == 'E' || compact[i] == 'd' || compact[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < compact.size() && (compact[j] == '+' || compact[j] == '-'))
            exponent += compact[j++];
        const std::size_t first = j;
        while (j < compact.size() && IsDigit(compact[j])) exponent += compact[j++];
        if (j > first) number += exponent;
    }
    if (number.front() == '+') number.erase(0, 1);

    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    // A number too large for a double cannot serve as a step; treat it as no number.
    if (result.ec != std::errc() || !std::isfinite(value)) return 0.0;
    return value;
}

float PointerStepFromSpeed(std::string_view speed) {
    const auto step = static_cast<float>(LeadingNumber(speed));
    // A negative step would turn the stick around and a huge one makes every placement overflow
    // (nothing moves); like an empty or zero speed they give the default step.
    return step > 0.0f && step <= kMaxPointerStep ? step : kDefaultPointerStep;
}

bool IsPlainDecimal(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false;
    while (i < text.size() && IsDigit(text[i])) ++i, digits = true;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, digits = true;
    }
    return digits && i == text.size();
}

}  // namespace vantrel
