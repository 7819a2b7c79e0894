// Where the program runs from: the folder holds the settings file, Lang/ and the documents.
#pragma once

#include <filesystem>
#include <string>

namespace vantrel {

struct ProgramLocation {
    std::filesystem::path folder;
    std::filesystem::path executable;
    // The executable's name without extension, as the second-instance message names it.
    std::string BaseName() const { return executable.stem().string(); }
};

}  // namespace vantrel
