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

}  // namespace vantrel
