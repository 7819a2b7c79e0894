#include "core/info/ProgramVersion.h"

namespace vantrel {

ProgramVersion OwnVersion() {
    return {VANTREL_VERSION_MAJOR, VANTREL_VERSION_MINOR, VANTREL_VERSION_REVISION};
}

std::string VersionNumberText(const ProgramVersion& version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.revision);
}

std::string ReleaseText(const ProgramVersion& version) {
    return "Rel. " + VersionNumberText(version);
}

}  // namespace vantrel
