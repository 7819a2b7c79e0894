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

// What the entry starts: `launcher` (the link a package puts on PATH, /usr/bin/vantrel) when it
// leads to `executable`, so the entry names the command people know and outlives a move of the
// program folder; the executable itself otherwise (a copy elsewhere, no launcher).
std::filesystem::path LogonCommand(const std::filesystem::path& executable,
                                   const std::filesystem::path& launcher);

}  // namespace vantrel
