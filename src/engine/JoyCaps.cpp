#include <algorithm>
#include <cstring>
#include <tuple>

#include "engine/JoystickPort.h"

namespace vantrel {

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string JoyCaps::Name() const {
    const auto end = std::find(szPname.begin(), szPname.end(), '\0');
    return std::string(szPname.begin(), end);
}

void JoyCaps::SetName(std::string_view name) {
    constexpr std::size_t kMaxBytes =
        std::tuple_size_v<decltype(szPname)> - 1;  // room for the closing NUL
    std::size_t length = std::min(name.size(), kMaxBytes);
    if (length < name.size()) {
        // Step back over at most three continuation bytes so no character is cut in half;
        // more than three in a row is not UTF-8, and then the plain cut is as good as any.
        std::size_t cut = length;
        for (int i = 0; i < 3 && cut > 0 && IsContinuationByte(name[cut]); ++i) --cut;
        if (!IsContinuationByte(name[cut])) length = cut;
    }
    szPname.fill('\0');
    std::memcpy(szPname.data(), name.data(), length);
}

}  // namespace vantrel
