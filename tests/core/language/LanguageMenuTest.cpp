#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/language/LanguageMenu.h"
#include "support/TempDir.h"
#include "support/fakes/FakeFileDialog.h"

namespace vantrel {
namespace {

struct DescriptionCase {
    const char* entry26;
    const char* description;
};

class FilterDescriptionTest : public ::testing::TestWithParam<DescriptionCase> {};

TEST_P(FilterDescriptionTest, EntryWithoutDotsAndAccessKeys) {
    LangText texts;
    texts[26] = GetParam().entry26;
    EXPECT_EQ(LanguageFilterDescription(texts), GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, FilterDescriptionTest,
    ::testing::Values(DescriptionCase{"&Language...", "Language"},
                      DescriptionCase{"Sprache\xE2\x80\xA6xy", "Sprache"},  // characters, not bytes
                      DescriptionCase{"Fish && &Chips...", "Fish & Chips"},
                      // Too short to give a description: the built-in caption stands in.
                      DescriptionCase{"", "Lingua"}, DescriptionCase{"ab", "Lingua"},
                      DescriptionCase{"...", "Lingua"}, DescriptionCase{"&...", "Lingua"}));

struct ScanCase {
    const char* path;
    char separator;
    std::optional<std::string> name;
};

class PathScanTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(PathScanTest, NameAfterTheLastLangFolder) {
    EXPECT_EQ(LanguageFileFromPath(GetParam().path, GetParam().separator), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathScanTest,
    ::testing::Values(ScanCase{"/opt/vantrel/Lang/Italiano.lng", '/', "Italiano.lng"},
                      ScanCase{"/home/u/Lang/old/Lang/French.lng", '/', "French.lng"},
                      ScanCase{"/opt/vantrel/Lang/extra/Turkish.lng", '/', "extra/Turkish.lng"},
                      ScanCase{"/opt/vantrel/lang/Italiano.lng", '/', std::nullopt},
                      ScanCase{"/opt/vantrel/LANG/Italiano.lng", '/', std::nullopt},
                      ScanCase{"/opt/MyLang/Italiano.lng", '/', std::nullopt},
                      ScanCase{"/opt/Languages/Italiano.lng", '/', std::nullopt},
                      ScanCase{"Lang/Italiano.lng", '/', std::nullopt},
                      ScanCase{"C:\\Vantrel\\Lang\\French.lng", '\\', "French.lng"},
                      ScanCase{"C:\\Vantrel\\Lang\\French.lng", '/', std::nullopt}));

class LanguageMenuTest : public ::testing::Test {
  protected:
    LanguageMenuTest() {
        folder.Write("Lang/English.lng", "01=&OK\r\n\r\n\r\n\r\n\r\n\r\n07=&Options...\r\n");
        folder.Write("Lang/Italiano.lng", "01=&OK\r\n\r\n\r\n\r\n\r\n\r\n07=&Opzioni...\r\n");
        settings.LanguageFile = "English.lng";
        texts[7] = "&Options...";
        texts[15] = "Language selection";
        texts[26] = "&Language...";
    }

    LanguageMenuContext Context() {
        return LanguageMenuContext{
            .settings = settings,
            .texts = texts,
            .languageRoots = roots,
            .dialogRoot = dialogRoot,
            .fileDialog = dialog,
            .loadTexts =
                [this](const std::vector<std::filesystem::path>& lookIn, const std::string& name,
                       LangText& table) {
                    steps.push_back("load " + name);
                    return LoadTextsFromRoots(lookIn, name, table);
                },
            .unloadOptionsDialog = [this] { steps.push_back("unload"); },
            .applyMenuTexts = [this] { steps.push_back("apply " + texts[7]); },
            .saveSettings = [this] { steps.push_back("save " + settings.LanguageFile); },
        };
    }

    test::TempDir folder;
    std::vector<std::filesystem::path> roots{folder.path()};
    std::filesystem::path dialogRoot = folder.path();
    Settings settings;
    LangText texts;
    FakeFileDialog dialog;
    std::vector<std::string> steps;
};

// Also on a first start, nothing read yet: the filter is then described by the built-in caption.
TEST_F(LanguageMenuTest, AsksForAnExistingLanguageFileInTheLangFolder) {
    for (const auto& [table, description] :
         {std::pair{texts, "Language"}, {LangText{}, "Lingua"}}) {
        texts = table;
        dialog.calls = 0;
        ChooseLanguageFromMenu(Context());
        ASSERT_EQ(dialog.calls, 1);
        const FileDialogRequest& r = dialog.request;
        EXPECT_TRUE(r.open);
        EXPECT_EQ(r.title, texts[15]);
        EXPECT_EQ(std::filesystem::path(r.initialFolder), folder.path() / "Lang");
        ASSERT_EQ(r.filters.size(), 1u);
        EXPECT_EQ(r.filters[0].description, description);
        EXPECT_EQ(r.filters[0].pattern, "*.lng");
        EXPECT_EQ(r.filterIndex, 1);
        EXPECT_EQ(r.defaultExtension, "lng");
        EXPECT_EQ(r.fileName, "");
        EXPECT_NE(dialog.flagsGiven & kDialogFileMustExist, 0u);
        EXPECT_EQ(dialog.flagsGiven & kDialogAllowMultiSelect, 0u);
    }
}

TEST_F(LanguageMenuTest, ChoiceIsReadFromTheProgramsOwnLangFolder) {
    // Picked from another copy's Lang folder: only the name is taken.
    dialog.answer = std::vector<std::string>{"/elsewhere/Lang/Italiano.lng"};
    ChooseLanguageFromMenu(Context());
    EXPECT_EQ(settings.LanguageFile, "Italiano.lng");
    EXPECT_EQ(texts[7], "&Opzioni...");
    EXPECT_EQ(steps, (std::vector<std::string>{"load Italiano.lng", "unload", "apply &Opzioni...",
                                               "save Italiano.lng"}));
}

TEST_F(LanguageMenuTest, CancelStillUnloadsAppliesAndSaves) {
    ChooseLanguageFromMenu(Context());
    EXPECT_EQ(settings.LanguageFile, "English.lng");
    EXPECT_EQ(steps, (std::vector<std::string>{"unload", "apply &Options...", "save English.lng"}));
}

TEST_F(LanguageMenuTest, PathWithoutLangFolderReadsTheCurrentFileAgain) {
    dialog.answer = std::vector<std::string>{"/tmp/lang/Italiano.lng"};
    texts[7] = "stale";
    ChooseLanguageFromMenu(Context());
    EXPECT_EQ(settings.LanguageFile, "English.lng");
    EXPECT_EQ(steps, (std::vector<std::string>{"load English.lng", "unload", "apply &Options...",
                                               "save English.lng"}));
}

// A read-only program folder: the dialog opens the user's Lang folder (made for the purpose),
// offers the program's, and a name found in both is read from the user's.
TEST_F(LanguageMenuTest, UsersFolderOpensFirstAndWins) {
    test::TempDir user;
    roots = {user.path(), folder.path()};
    dialogRoot = user.path();
    dialog.answer = std::vector<std::string>{(folder / "Lang/Italiano.lng").string()};
    ChooseLanguageFromMenu(Context());
    EXPECT_TRUE(std::filesystem::is_directory(user / "Lang"));
    EXPECT_EQ(std::filesystem::path(dialog.request.initialFolder), user / "Lang");
    EXPECT_EQ(dialog.request.places, std::vector<std::string>{(folder / "Lang").string()});
    EXPECT_EQ(texts[7], "&Opzioni...");  // only the program's has it now

    user.Write("Lang/Italiano.lng", "01=&OK\r\n\r\n\r\n\r\n\r\n\r\n07=&Opzioni mie...\r\n");
    ChooseLanguageFromMenu(Context());
    EXPECT_EQ(texts[7], "&Opzioni mie...");
}

}  // namespace
}  // namespace vantrel
