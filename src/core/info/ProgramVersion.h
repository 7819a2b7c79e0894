// The program's own version, as the about window shows it and the update check compares it.
#pragma once

#include <string>

namespace vantrel {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The version this build was made as.
ProgramVersion OwnVersion();

// The three numbers in plain decimal, e.g. "1.3.1" (what --version prints).
std::string VersionNumberText(const ProgramVersion& version);

// "Rel. " and the three numbers in plain decimal, e.g. "Rel. 1.3.1".
std::string ReleaseText(const ProgramVersion& version);

}  // namespace vantrel
