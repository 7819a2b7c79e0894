// Where the program runs from: the folder holds Lang/ and the documents, and the settings file
// unless `files` says otherwise.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/settings/FileLocations.h"

namespace vantrel {

struct ProgramLocation {
    std::filesystem::path folder;
    std::filesystem::path executable;
    // Where settings and added language files live; unset: everything beside the program.
    std::optional<FileLocations> files;
    // What start at logon runs; empty: the executable.
    std::filesystem::path logonCommand;
    // The executable's name without extension, as the second-instance message names it.
    std::string BaseName() const { return executable.stem().string(); }
    FileLocations Files() const { return files.value_or(FilesBesideProgram(folder)); }
    const std::filesystem::path& LogonCommand() const {
        return logonCommand.empty() ? executable : logonCommand;
    }
};

}  // namespace vantrel
