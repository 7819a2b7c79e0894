// The visual-styles manifest written beside the executable when it is missing.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/startup/ManifestPlatformPort.h"

namespace vantrel {

// Program folder + executable base name + ".exe.manifest"; a folder that already ends with a
// separator (a drive or file-system root) gets no second one.
std::filesystem::path ManifestPath(const std::filesystem::path& programFolder,
                                   std::string_view exeBaseName);

// The seventeen lines, each ended by CR LF; X86 gives the historical bytes, the others differ
// only in the two processorArchitecture values.
const std::string& ManifestText(ManifestArchitecture architecture = ManifestArchitecture::X86);

enum class ManifestStatus {
    Written,         // created; read-only (and hidden + system where the platform has them)
    AlreadyPresent,  // a file of that name exists and was left as it is, unread
    WriteFailed,     // could not be created; the next start tries again
};

// Writes the manifest for the platform's architecture only when no file of that name exists,
// makes it read-only, then has the platform initialise the common controls. Failures are not
// reported to the user; the status is there for callers that want to know, start-up ignores it.
ManifestStatus WriteManifest(const std::filesystem::path& programFolder,
                             std::string_view exeBaseName, ManifestPlatformPort& platform);

}  // namespace vantrel
