#include "platform/desktop/xdg/XdgAutostart.h"

#include <fstream>
#include <string>
#include <system_error>
#include <utility>

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
    std::filesystem::path temp = file->parent_path() / ("." + file->filename().string() + ".tmp");
    const std::string content = AutostartDesktopEntry(executable);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::filesystem::rename(temp, *file, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return false;
    }
    return true;
}

bool XdgAutostart::Remove() {
    const auto file = EntryPath();
    if (!file) return false;
    std::error_code ec;
    std::filesystem::remove(*file, ec);  // false without error when there was none
    return !ec;
}

}  // namespace vantrel
