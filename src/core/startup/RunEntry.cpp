#include "core/startup/RunEntry.h"

#include <system_error>

namespace vantrel {

bool SyncRunEntry(RunEntryPort& port, const Settings& settings,
                  const std::filesystem::path& executable) {
    if (settings.StartAtLogon == 1) return port.Write(executable);
    return port.Remove();
}

std::filesystem::path LogonCommand(const std::filesystem::path& executable,
                                   const std::filesystem::path& launcher) {
    if (launcher.empty()) return executable;
    std::error_code ec;
    return std::filesystem::equivalent(launcher, executable, ec) ? launcher : executable;
}

}  // namespace vantrel
