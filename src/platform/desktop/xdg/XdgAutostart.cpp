#include "platform/desktop/xdg/XdgAutostart.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>

#include "core/settings/AtomicFile.h"
#include "core/startup/DesktopEntry.h"

namespace vantrel {

namespace {

std::optional<std::filesystem::path> AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    std::filesystem::path folder(value);
    // The XDG base directory rules make relative values invalid: they are ignored.
    if (!folder.is_absolute()) return std::nullopt;
    return folder;
}

}  // namespace

XdgAutostart::XdgAutostart(std::filesystem::path entryFile) : entryFile_(std::move(entryFile)) {}

std::optional<std::filesystem::path> XdgAutostart::DefaultEntryPath() {
    std::optional<std::filesystem::path> config = AbsoluteFromEnvironment("XDG_CONFIG_HOME");
    if (!config) {
        const auto home = AbsoluteFromEnvironment("HOME");
        if (!home) return std::nullopt;
        config = *home / ".config";
    }
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
