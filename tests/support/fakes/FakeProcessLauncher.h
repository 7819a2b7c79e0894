// A process launcher for tests: records every command it is asked to start.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "core/options/ProcessLauncherPort.h"

namespace vantrel::test {

class FakeProcessLauncher : public ProcessLauncherPort {
  public:
    bool StartDetached(const std::vector<std::string>& argv) override {
        started.push_back(argv);
        return startSucceeds;
    }
    bool ProgramExists(const std::string& program) override {
        return std::find(programsOnPath.begin(), programsOnPath.end(), program) !=
               programsOnPath.end();
    }
    std::string CurrentDesktops() override { return currentDesktops; }

    std::vector<std::vector<std::string>> started;
    bool startSucceeds = true;
    std::vector<std::string> programsOnPath;
    std::string currentDesktops;
};

}  // namespace vantrel::test
