#include "core/engine/JoystickInfo.h"

#include <algorithm>

namespace vantrel {

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

void JoystickInfo::SetName(std::string_view text) {
    std::size_t length = std::min(text.size(), kMaxNameBytes);
    if (length < text.size()) {
        // Step back over at most three continuation bytes so no character is cut in half;
        // more than three in a row is not UTF-8, and then the plain cut is as good as any.
        std::size_t cut = length;
        for (int i = 0; i < 3 && cut > 0 && IsContinuationByte(text[cut]); ++i) --cut;
        if (!IsContinuationByte(text[cut])) length = cut;
    }
    name.assign(text.substr(0, length));
}

}  // namespace vantrel
