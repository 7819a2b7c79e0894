// A process launcher for tests: records every command it is asked to start.
#pragma once

#include <string>
#include <vector>

#include "settings/ProcessLauncherPort.h"

namespace vantrel::test {

class FakeProcessLauncher : public ProcessLauncherPort {
  public:
    bool StartDetached(const std::vector<std::string>& argv) override {
        started.push_back(argv);
        return startSucceeds;
    }

    std::vector<std::vector<std::string>> started;
    bool startSucceeds = true;
};

}  // namespace vantrel::test
