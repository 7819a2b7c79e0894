// The two Windows-only steps around the visual-styles manifest, so the core stays portable.
#pragma once

#include <filesystem>

namespace vantrel {

class ManifestPlatformPort {
  public:
    virtual ~ManifestPlatformPort() = default;
    // Adds the hidden and system attributes; false when that failed.
    virtual bool MarkHiddenAndSystem(const std::filesystem::path& file) = 0;
    // Registers the common controls before the first window is created.
    virtual void InitCommonControls() = 0;
};

// Platforms without those attributes and without common controls: both steps do nothing.
class NoManifestPlatform final : public ManifestPlatformPort {
  public:
    bool MarkHiddenAndSystem(const std::filesystem::path&) override { return true; }
    void InitCommonControls() override {}
};

}  // namespace vantrel
