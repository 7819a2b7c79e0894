// The user's folder for the program on Windows (%APPDATA%\Vantrel) and whether a folder may be
// written, for the choice of where the program keeps its files.
#pragma once

#include <filesystem>

#include "core/settings/FileLocations.h"

namespace vantrel {

// %APPDATA%\Vantrel for the settings and for added language files alike.
UserFolders WinUserFolders();

// Whether this user may create files in `folder`. Tried with a file that is gone when closed:
// the access rules of Program Files are lists a permission bit test cannot read.
bool FolderWritable(const std::filesystem::path& folder);

}  // namespace vantrel
