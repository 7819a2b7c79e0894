#include "core/text/CaptionText.h"

namespace vantrel {

std::string StripAccessKeys(std::string_view caption) {
    std::string shown;
    shown.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            shown += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
            shown += '&';
            ++i;
        }
    }
    return shown;
}

std::string ParagraphBreaks(std::string_view text) {
    constexpr std::string_view marker = "<BR>";
    std::string result;
    result.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(marker); at != std::string_view::npos;
         at = text.find(marker, from)) {
        result.append(text.substr(from, at - from));
        result.append("\n\n");
        from = at + marker.size();
    }
    result.append(text.substr(from));
    return result;
}

}  // namespace vantrel
