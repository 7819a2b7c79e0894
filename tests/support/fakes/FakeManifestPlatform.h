// Records the Windows-only manifest steps instead of making them.
#pragma once

#include <filesystem>
#include <vector>

#include "core/startup/ManifestPlatformPort.h"

namespace vantrel {

class FakeManifestPlatform : public ManifestPlatformPort {
  public:
    bool MarkHiddenAndSystem(const std::filesystem::path& file) override {
        marked.push_back(file);
        return true;
    }
    void InitCommonControls() override { ++commonControlsInitialised; }
    ManifestArchitecture Architecture() const override { return architecture; }

    ManifestArchitecture architecture = ManifestArchitecture::X86;
    std::vector<std::filesystem::path> marked;
    int commonControlsInitialised = 0;
};

}  // namespace vantrel
