// Showing a file dialog, and the buffer helpers a Windows backend needs for its results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/language/FileDialogPort.h"

namespace vantrel {

// The longest initial file name handed to the dialog, in characters.
inline constexpr std::size_t kDialogFileNameChars = 256;

// Shows the dialog; returns the chosen paths, empty when cancelled. `flags` (null means 0) goes
// in as the dialog's flags; only after a successful dialog does it receive the flags as the
// dialog left them. A longer file name is cut to 256 characters first.
std::vector<std::string> ShowFileDialog(FileDialogPort& port, FileDialogRequest request,
                                        std::uint32_t* flags = nullptr);

// `text` up to its first NUL; all of it when it has none.
std::string StripAtNul(std::string_view text);

// `text` ending in `separator`: added unless it is already there. Windows results use '\', the
// default, so a Windows backend calls it as it stands.
std::string AddBackslash(std::string_view text, char separator = '\\');

// The file buffer of a multiple selection: folder NUL name NUL name ... NUL NUL. A single part is
// one full path; otherwise the first part is the folder and each further name gives
// AddBackslash(folder) + name, in the order given. The list ends at the first empty part, so
// leftovers after the double NUL never become names.
std::vector<std::string> SplitMultiSelection(std::string_view buffer, char separator = '\\');

}  // namespace vantrel
