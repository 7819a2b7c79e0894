// Showing a file dialog: the initial name cut to the dialog's length, the flags passed through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
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

}  // namespace vantrel
