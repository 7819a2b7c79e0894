// Starting settings programs through QProcess, and what the link choice needs from the system.
#pragma once

#include <string>

#include "settings/ProcessLauncherPort.h"

namespace vantrel {

class QtProcessLauncher : public ProcessLauncherPort {
  public:
    bool StartDetached(const std::vector<std::string>& argv) override;
};

// True when `program` is an executable on the search path.
bool ProgramOnPath(const std::string& program);

// XDG_CURRENT_DESKTOP, empty when unset.
std::string CurrentDesktops();

}  // namespace vantrel
