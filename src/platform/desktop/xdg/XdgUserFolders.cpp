#include "platform/desktop/xdg/XdgUserFolders.h"

#include <unistd.h>

#include <cstdlib>

namespace vantrel {

namespace {

std::optional<std::filesystem::path> AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    std::filesystem::path folder(value);
    if (!folder.is_absolute()) return std::nullopt;
    return folder;
}

std::optional<std::filesystem::path> Below(std::optional<std::filesystem::path> folder) {
    if (folder) *folder /= "vantrel";
    return folder;
}

}  // namespace

std::optional<std::filesystem::path> XdgBaseFolder(const char* variable,
                                                   const std::filesystem::path& fallback) {
    if (auto folder = AbsoluteFromEnvironment(variable)) return folder;
    const auto home = AbsoluteFromEnvironment("HOME");
    if (!home) return std::nullopt;
    return *home / fallback;
}

UserFolders XdgUserFolders() {
    return {.config = Below(XdgBaseFolder("XDG_CONFIG_HOME", ".config")),
            .data = Below(XdgBaseFolder("XDG_DATA_HOME", ".local/share"))};
}

bool FolderWritable(const std::filesystem::path& folder) {
    // The effective ids decide, as they do when the file is created.
    return eaccess(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace vantrel
