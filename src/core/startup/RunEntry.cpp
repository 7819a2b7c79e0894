#include "core/startup/RunEntry.h"

namespace vantrel {

bool SyncRunEntry(RunEntryPort& port, const Settings& settings,
                  const std::filesystem::path& executable) {
    if (settings.StartAtLogon == 1) return port.Write(executable);
    return port.Remove();
}

}  // namespace vantrel
