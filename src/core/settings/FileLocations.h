// Where the program finds and writes its files: beside itself when it may write its own folder
// (portable folders rely on that), in the user's folders when it may not (a system package,
// Program Files).
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "core/settings/Settings.h"

namespace vantrel {

// The user's own folders for this program, as the platform names them; nullopt when unknown.
struct UserFolders {
    std::optional<std::filesystem::path> config;  // $XDG_CONFIG_HOME/vantrel, %APPDATA%\Vantrel
    std::optional<std::filesystem::path> data;    // $XDG_DATA_HOME/vantrel, %APPDATA%\Vantrel
};

struct FileLocations {
    std::filesystem::path programFolder;   // the executable, Lang/ and the documents
    std::filesystem::path settingsFolder;  // the folder Vantrel.ini is written in
    // Folders that hold a Lang/ folder, in the order a language file is looked up.
    std::vector<std::filesystem::path> languageRoots;
    // The folder whose Lang/ the language dialog opens.
    std::filesystem::path dialogLanguageRoot;
    // Whether the program may write beside itself (the manifest, which works only there).
    bool programFolderWritable = true;

    std::filesystem::path SettingsFile() const;
    // The file the settings are read from: the settings file; when it does not exist and the
    // settings live apart from the program, a Vantrel.ini the program folder carries (a
    // write-protected portable folder keeps its choices that way).
    std::filesystem::path SettingsFileToRead() const;
};

// Everything beside the program, as a writable program folder has it; the user's Lang/ (when
// known) is looked in after the program's own.
FileLocations FilesBesideProgram(const std::filesystem::path& programFolder,
                                 const UserFolders& user = {});

// The rule: a program folder the user may write keeps everything beside the program. One that
// cannot be written keeps the settings in the user's configuration folder and looks up language
// files in the user's data folder before the program's; the dialog opens the user's. Without a
// user folder to go to, the program folder stays in use (saving then fails as it always did).
FileLocations ChooseFileLocations(const std::filesystem::path& programFolder,
                                  bool programFolderWritable, const UserFolders& user);

// Writes the settings file of `files` atomically, making its folder first when it lies apart
// from the program. False when that failed.
bool SaveSettingsIn(const FileLocations& files, const Settings& settings);

}  // namespace vantrel
