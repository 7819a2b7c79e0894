// Keeps the start-at-logon entry in line with the StartAtLogon setting.
#pragma once

#include <filesystem>

#include "core/settings/Settings.h"
#include "core/startup/RunEntryPort.h"

namespace vantrel {

// StartAtLogon == 1: writes the entry for `executable`, every time (the program may have
// moved since the last run). Any other value: deletes it. Returns whether the entry is now in
// line; callers go on either way.
bool SyncRunEntry(RunEntryPort& port, const Settings& settings,
                  const std::filesystem::path& executable);

}  // namespace vantrel
