#include "platform/desktop/xdg/XdgAutostart.h"

#include <string>
#include <system_error>
#include <utility>

#include "core/settings/AtomicFile.h"
#include "core/startup/DesktopEntry.h"
#include "platform/desktop/xdg/XdgUserFolders.h"

namespace vantrel {

XdgAutostart::XdgAutostart(std::filesystem::path entryFile) : entryFile_(std::move(entryFile)) {}

std::optional<std::filesystem::path> XdgAutostart::DefaultEntryPath() {
    const auto config = XdgBaseFolder("XDG_CONFIG_HOME", ".config");
    if (!config) return std::nullopt;
    return *config / "autostart" / "Vantrel.desktop";
}

std::optional<std::filesystem::path> XdgAutostart::EntryPath() const {
    if (entryFile_) return entryFile_;
    return DefaultEntryPath();
}

bool XdgAutostart::Write(const std::filesystem::path& executable) {
    const auto file = EntryPath();
    if (!file) return false;
    std::error_code ec;
    std::filesystem::create_directories(file->parent_path(), ec);
    if (ec) return false;

    // A session manager reading a half-written entry could start something else; replace the
    // file in one step. The temporary name does not end in ".desktop", so it is never read.
    const std::filesystem::path temp =
        file->parent_path() / ("." + file->filename().string() + ".tmp");
    return ReplaceFileAtomically(*file, temp, AutostartDesktopEntry(executable));
}

bool XdgAutostart::Remove() {
    const auto file = EntryPath();
    if (!file) return false;
    std::error_code ec;
    std::filesystem::remove(*file, ec);  // false without error when there was none
    return !ec;
}

}  // namespace vantrel
