// Where settings and language files live for a writable and a read-only program folder.
#include <gtest/gtest.h>

#include <vector>

#include "core/settings/FileLocations.h"
#include "core/settings/SettingsFile.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

using Paths = std::vector<std::filesystem::path>;
const std::filesystem::path kProgram = "/usr/lib/vantrel";
const std::filesystem::path kConfig = "/home/u/.config/vantrel";
const std::filesystem::path kData = "/home/u/.local/share/vantrel";

struct LocationCase {
    const char* name;
    bool writable;
    UserFolders user;
    std::filesystem::path settingsFolder;
    Paths languageRoots;
    std::filesystem::path dialogRoot;
};

class ChooseLocationsTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(ChooseLocationsTest, SettingsLanguageFoldersAndDialog) {
    const LocationCase& c = GetParam();
    const FileLocations files = ChooseFileLocations(kProgram, c.writable, c.user);
    EXPECT_EQ(files.programFolder, kProgram);
    EXPECT_EQ(files.settingsFolder, c.settingsFolder);
    EXPECT_EQ(files.languageRoots, c.languageRoots);
    EXPECT_EQ(files.dialogLanguageRoot, c.dialogRoot);
    EXPECT_EQ(files.programFolderWritable, c.writable);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ChooseLocationsTest,
    ::testing::Values(
        // Writable: as always, beside the program; a user's added files are still found.
        LocationCase{"writable", true, {kConfig, kData}, kProgram, {kProgram, kData}, kProgram},
        LocationCase{"writable_no_home", true, {}, kProgram, {kProgram}, kProgram},
        LocationCase{"read_only", false, {kConfig, kData}, kConfig, {kData, kProgram}, kData},
        // No user folder known (no HOME): nowhere better to go.
        LocationCase{"read_only_no_home", false, {}, kProgram, {kProgram}, kProgram}),
    [](const auto& info) { return std::string(info.param.name); });

// A read-only program folder: saves go to the user's folder, which is made for them; a
// Vantrel.ini the program folder carries is read until the user has one.
TEST(SettingsApart, SavedInTheUsersFolderReadFromTheProgramsUntilThen) {
    test::TempDir program, user;
    const FileLocations files =
        ChooseFileLocations(program.path(), false, {.config = user / "vantrel", .data = {}});
    EXPECT_EQ(files.SettingsFileToRead(), user / "vantrel/Vantrel.ini");  // neither: defaults
    program.Write("Vantrel.ini", "4\r\n");
    EXPECT_EQ(files.SettingsFileToRead(), program / "Vantrel.ini");
    ASSERT_TRUE(SaveSettingsIn(files, DefaultSettings()));
    EXPECT_EQ(test::ReadFile(user / "vantrel/Vantrel.ini"), FormatSettings(DefaultSettings()));
    EXPECT_EQ(files.SettingsFileToRead(), user / "vantrel/Vantrel.ini");
    EXPECT_EQ(test::ReadFile(program / "Vantrel.ini"), "4\r\n");
}

}  // namespace
}  // namespace vantrel
