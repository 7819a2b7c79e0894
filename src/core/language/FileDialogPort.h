// The platform's open and save file dialogs, as the language choice asks for them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

// Dialog flags, with the values of the Windows common dialogs so a Windows backend passes them on.
inline constexpr std::uint32_t kDialogOverwritePrompt = 0x2;
inline constexpr std::uint32_t kDialogAllowMultiSelect = 0x200;
inline constexpr std::uint32_t kDialogPathMustExist = 0x800;
inline constexpr std::uint32_t kDialogFileMustExist = 0x1000;

// One entry of the file-type list: "Language files" and "*.lng" (several patterns joined by ';').
struct FileFilter {
    std::string description;
    std::string pattern;
};

struct FileDialogRequest {
    std::string initialFolder;  // empty: the current folder
    std::vector<FileFilter> filters;
    int filterIndex = 1;           // the filter selected at start, counted from 1
    std::string defaultExtension;  // without the dot, added to a name typed without one
    std::string fileName;          // the name shown at start
    std::string title;             // empty: the platform's own title
    // Further folders offered for a quick jump (the dialog's side bar), besides the initial one.
    std::vector<std::string> places;
    bool open = false;  // true: an Open dialog; false: a Save dialog
};

class FileDialogPort {
  public:
    virtual ~FileDialogPort() = default;
    // Runs the dialog modally, owned by the window the backend was given. Returns the chosen
    // full paths (native separators, UTF-8), or nullopt when the user cancelled or the dialog
    // failed. `flags` comes in as the dialog's flags and may be changed by the dialog.
    virtual std::optional<std::vector<std::string>> Run(const FileDialogRequest& request,
                                                        std::uint32_t& flags) = 0;
};

}  // namespace vantrel
