// The manifest's Windows steps: read-only, hidden and system attributes, and the common
// controls registered before the first window.
#pragma once

#include "core/startup/ManifestPlatformPort.h"

namespace vantrel {

class WinManifestPlatform final : public ManifestPlatformPort {
  public:
    // Adds the three attributes to those the file already has.
    bool MarkHiddenAndSystem(const std::filesystem::path& file) override;
    void InitCommonControls() override;
    // The architecture this program was compiled for: a 64-bit build must not claim X86.
    ManifestArchitecture Architecture() const override;
};

}  // namespace vantrel
