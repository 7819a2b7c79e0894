// The user's folders on freedesktop.org systems (XDG base directories) and whether a folder
// may be written, for the choice of where the program keeps its files.
#pragma once

#include <filesystem>
#include <optional>

#include "core/settings/FileLocations.h"

namespace vantrel {

// $`variable`, or $HOME/`fallback` when it is unset, empty or relative (the base directory rules
// make relative values invalid). Nothing when neither gives an absolute folder.
std::optional<std::filesystem::path> XdgBaseFolder(const char* variable,
                                                   const std::filesystem::path& fallback);

// $XDG_CONFIG_HOME/vantrel and $XDG_DATA_HOME/vantrel.
UserFolders XdgUserFolders();

// Whether this user may create files in `folder` (permissions, ACLs, a read-only mount).
bool FolderWritable(const std::filesystem::path& folder);

}  // namespace vantrel
