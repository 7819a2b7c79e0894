// Starting another program without waiting for it, for the settings links of the options dialog.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

class ProcessLauncherPort {
  public:
    virtual ~ProcessLauncherPort() = default;
    // Starts argv[0] with the remaining arguments, detached and without a shell. False when
    // it could not be started.
    virtual bool StartDetached(const std::vector<std::string>& argv) = 0;
};

}  // namespace vantrel
