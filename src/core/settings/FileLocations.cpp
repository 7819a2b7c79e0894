#include "core/settings/FileLocations.h"

#include <system_error>

#include "core/settings/SettingsFile.h"

namespace vantrel {

std::filesystem::path FileLocations::SettingsFile() const {
    return SettingsPath(settingsFolder);
}

std::filesystem::path FileLocations::SettingsFileToRead() const {
    const std::filesystem::path own = SettingsFile();
    if (settingsFolder == programFolder) return own;
    std::error_code ec;
    if (std::filesystem::exists(own, ec) || ec) return own;
    const std::filesystem::path besideProgram = SettingsPath(programFolder);
    return std::filesystem::exists(besideProgram, ec) ? besideProgram : own;
}

FileLocations FilesBesideProgram(const std::filesystem::path& programFolder,
                                 const UserFolders& user) {
    FileLocations files{.programFolder = programFolder,
                        .settingsFolder = programFolder,
                        .languageRoots = {programFolder},
                        .dialogLanguageRoot = programFolder};
    if (user.data) files.languageRoots.push_back(*user.data);
    return files;
}

FileLocations ChooseFileLocations(const std::filesystem::path& programFolder,
                                  bool programFolderWritable, const UserFolders& user) {
    FileLocations files = FilesBesideProgram(programFolder, user);
    if (programFolderWritable) return files;
    files.programFolderWritable = false;
    if (user.config) files.settingsFolder = *user.config;
    if (user.data) {
        // The folder the user can write is the one whose files win: a corrected copy of a
        // shipped language file overrides it.
        files.languageRoots = {*user.data, programFolder};
        files.dialogLanguageRoot = *user.data;
    }
    return files;
}

bool SaveSettingsIn(const FileLocations& files, const Settings& settings) {
    if (files.settingsFolder != files.programFolder) {
        std::error_code ec;
        std::filesystem::create_directories(files.settingsFolder, ec);
        if (ec) return false;
    }
    return SaveSettings(files.SettingsFile(), settings);
}

}  // namespace vantrel
