// Records the Windows-only manifest steps instead of making them.
#pragma once

#include <filesystem>
#include <vector>

#include "shell/ManifestPlatformPort.h"

namespace vantrel {

class FakeManifestPlatform : public ManifestPlatformPort {
  public:
    bool MarkHiddenAndSystem(const std::filesystem::path& file) override {
        marked.push_back(file);
        return true;
    }
    void InitCommonControls() override { ++commonControlsInitialised; }

    std::vector<std::filesystem::path> marked;
    int commonControlsInitialised = 0;
};

}  // namespace vantrel
