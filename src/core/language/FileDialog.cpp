#include "core/language/FileDialog.h"

#include <utility>

#include "core/text/Utf8.h"

namespace vantrel {

std::vector<std::string> ShowFileDialog(FileDialogPort& port, FileDialogRequest request,
                                        std::uint32_t* flags) {
    request.fileName.resize(Utf8PrefixBytes(request.fileName, kDialogFileNameChars));
    std::uint32_t dialogFlags = flags != nullptr ? *flags : 0;
    std::optional<std::vector<std::string>> paths = port.Run(request, dialogFlags);
    if (!paths) return {};
    if (flags != nullptr) *flags = dialogFlags;
    return std::move(*paths);
}

std::string StripAtNul(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

std::string AddBackslash(std::string_view text, char separator) {
    std::string out(text);
    if (out.empty() || out.back() != separator) out += separator;
    return out;
}

std::vector<std::string> SplitMultiSelection(std::string_view buffer, char separator) {
    std::vector<std::string_view> parts;
    std::size_t pos = 0;
    while (pos < buffer.size()) {
        const std::size_t end = buffer.find('\0', pos);
        const std::string_view part =
            buffer.substr(pos, end == std::string_view::npos ? end : end - pos);
        if (part.empty()) break;
        parts.push_back(part);
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    if (parts.size() == 1) return {std::string(parts.front())};

    std::vector<std::string> paths;
    if (parts.empty()) return paths;
    const std::string folder = AddBackslash(parts.front(), separator);
    for (std::size_t i = 1; i < parts.size(); ++i) paths.push_back(folder + std::string(parts[i]));
    return paths;
}

}  // namespace vantrel
