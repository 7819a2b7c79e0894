// Starting another program without waiting for it, and what choosing it needs to know of the
// system: for the settings links of the options dialog.
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
    // True when `program` is an executable on the search path.
    virtual bool ProgramExists(const std::string& program) = 0;
    // The desktops of this session (XDG_CURRENT_DESKTOP, names separated by ':'), empty when
    // unknown.
    virtual std::string CurrentDesktops() = 0;
};

}  // namespace vantrel
