// Starting settings programs through QProcess, and what the link choice needs from the system.
#pragma once

#include <string>

#include "core/options/ProcessLauncherPort.h"

namespace vantrel {

class QtProcessLauncher : public ProcessLauncherPort {
  public:
    bool StartDetached(const std::vector<std::string>& argv) override;
    bool ProgramExists(const std::string& program) override;
    std::string CurrentDesktops() override;
};

}  // namespace vantrel
