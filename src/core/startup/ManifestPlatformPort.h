// The Windows-only parts of the visual-styles manifest, so the core stays portable.
#pragma once

#include <filesystem>

namespace vantrel {

// The processor architecture the manifest names for the program and for the common controls.
// X86 is the historical text; a 64-bit program must not claim X86, or Windows may not start it.
enum class ManifestArchitecture { X86, Amd64, Arm64 };

class ManifestPlatformPort {
  public:
    virtual ~ManifestPlatformPort() = default;
    // Adds the hidden and system attributes; false when that failed.
    virtual bool MarkHiddenAndSystem(const std::filesystem::path& file) = 0;
    // Registers the common controls before the first window is created.
    virtual void InitCommonControls() = 0;
    // The architecture of this build; the historical X86 where no Windows program is built.
    virtual ManifestArchitecture Architecture() const { return ManifestArchitecture::X86; }
};

// Platforms without those attributes and without common controls: both steps do nothing.
class NoManifestPlatform final : public ManifestPlatformPort {
  public:
    bool MarkHiddenAndSystem(const std::filesystem::path&) override { return true; }
    void InitCommonControls() override {}
};

}  // namespace vantrel
