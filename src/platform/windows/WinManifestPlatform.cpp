#include "platform/windows/WinManifestPlatform.h"

#include <windows.h>

#include <commctrl.h>

namespace vantrel {

bool WinManifestPlatform::MarkHiddenAndSystem(const std::filesystem::path& file) {
    const DWORD current = GetFileAttributesW(file.c_str());
    if (current == INVALID_FILE_ATTRIBUTES) return false;
    // NORMAL means "no other attribute" and may not be combined with them.
    const DWORD wanted = (current & ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL)) |
                         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return SetFileAttributesW(file.c_str(), wanted) != FALSE;
}

void WinManifestPlatform::InitCommonControls() {
    ::InitCommonControls();
}

ManifestArchitecture WinManifestPlatform::Architecture() const {
#if defined(__aarch64__) || defined(_M_ARM64)
    return ManifestArchitecture::Arm64;
#elif defined(__x86_64__) || defined(_M_X64)
    return ManifestArchitecture::Amd64;
#else
    return ManifestArchitecture::X86;
#endif
}

}  // namespace vantrel
