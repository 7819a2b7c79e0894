#include "platform/unix/SessionBus.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace vantrel {

namespace {

namespace fs = std::filesystem;

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

bool Executable(const fs::path& file) {
    return ::access(file.c_str(), X_OK) == 0;
}

// Where libdbus looks for dbus-launch: its own bin folder, then every folder of PATH.
bool BusLauncherInstalled() {
    if (Executable("/usr/bin/dbus-launch")) return true;
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "";
    while (!folders.empty()) {
        const std::size_t end = folders.find(':');
        const std::string_view folder = folders.substr(0, end);
        if (!folder.empty() && Executable(fs::path(folder) / "dbus-launch")) return true;
        folders = end == std::string_view::npos ? "" : folders.substr(end + 1);
    }
    return false;
}

}  // namespace

bool SkipHopelessBusLaunch() {
    if (Set("DBUS_SESSION_BUS_ADDRESS")) return false;
    std::error_code error;
    if (Set("XDG_RUNTIME_DIR") &&
        fs::exists(fs::path(std::getenv("XDG_RUNTIME_DIR")) / "bus", error))
        return false;                          // the user's bus, which libdbus finds by itself
    if (BusLauncherInstalled()) return false;  // it may find a bus of this display, or start one
    // An address of no known kind: libdbus refuses it without trying anything. Children get it
    // too, and would have found no bus either.
    return ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0) == 0;
}

}  // namespace vantrel
