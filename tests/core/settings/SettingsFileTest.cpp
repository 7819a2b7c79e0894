#include "core/settings/SettingsFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/settings/AtomicFile.h"

#include "support/TempDir.h"
#include "support/Unprivileged.h"

namespace vantrel {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Settings{left, right, middle, speed, acceleration, logon, joystick, language}: the file's order.
TEST(SettingsLoad, MissingFileGivesDefaultsAndCreatesNothing) {
    TempDir dir;
    Settings s{9, 9, 9, "x", 9, 9, 9, "Old.lng"};
    EXPECT_EQ(LoadSettings(SettingsPath(dir.path()), s), SettingsLoad::Missing);
    EXPECT_EQ(s, (Settings{1, 2, 3, "2", 1, 1, 0, ""}));
    EXPECT_FALSE(std::filesystem::exists(SettingsPath(dir.path())));
}

struct ParseCase {
    const char* name;
    std::string bytes;
    Settings expected;
};

class SettingsParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(SettingsParse, ReadsFieldsByPositionFromTheTextAndTheFile) {
    EXPECT_EQ(ParseSettings(GetParam().bytes), GetParam().expected);
    TempDir dir;
    WriteFile(SettingsPath(dir.path()), GetParam().bytes);
    Settings s;
    ASSERT_EQ(LoadSettings(SettingsPath(dir.path()), s), SettingsLoad::Found);
    EXPECT_EQ(s, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsParse,
    ::testing::Values(
        ParseCase{"full", "1\r\n2\r\n3\r\n2\r\n1\r\n1\r\n0\r\nItaliano.lng\r\n",
                  Settings{1, 2, 3, "2", 1, 1, 0, "Italiano.lng"}},
        // No defaults on this path: missing lines stay zero / empty.
        ParseCase{"three_lines", "1\r\n2\r\n3\r\n", Settings{1, 2, 3, "", 0, 0, 0, ""}},
        ParseCase{"letters_in_numeric_line",
                  "4\r\n5\r\n6\r\n1.5\r\nabc\r\n1\r\n2\r\nFrench.lng\r\n",
                  Settings{4, 5, 6, "1.5", 0, 1, 2, "French.lng"}},
        // A comma ends a field, so every later field takes the value one place early.
        ParseCase{"comma_inside_line", "1\r\n2,7\r\n3\r\n2\r\n1\r\n1\r\n0\r\nEnglish.lng\r\n",
                  Settings{1, 2, 7, "3", 2, 1, 1, "0"}},
        ParseCase{"empty_eighth_line", "1\r\n2\r\n3\r\n2\r\n1\r\n1\r\n0\r\n\r\n",
                  Settings{1, 2, 3, "2", 1, 1, 0, ""}},
        ParseCase{"blanks_around_language",
                  "1\r\n2\r\n3\r\n2\r\n1\r\n1\r\n0\r\n   Italiano.lng  \r\n",
                  Settings{1, 2, 3, "2", 1, 1, 0, "Italiano.lng"}},
        ParseCase{"lone_lf_lines", "3\n2\n1\n0.5\n0\n0\n1\nTurkish.lng\n",
                  Settings{3, 2, 1, "0.5", 0, 0, 1, "Turkish.lng"}},
        ParseCase{"out_of_range_and_negative", "32768\r\n-32768\r\n-1\r\n\r\n2.5\r\n3.5\r\n1e2\r\n",
                  Settings{0, -32768, -1, "", 2, 4, 0, ""}},
        ParseCase{"quoted_fields",
                  "\"1\"\r\n2\r\n3\r\n\" 1,5 \"\r\n1\r\n1\r\n0\r\n\"A, B.lng\"\r\n",
                  Settings{1, 2, 3, " 1,5 ", 1, 1, 0, "A, B.lng"}},
        ParseCase{"windows_1252_name",
                  std::string("1\r\n2\r\n3\r\n2\r\n1\r\n1\r\n0\r\nFran\xE7") + "ais.lng\r\n",
                  Settings{1, 2, 3, "2", 1, 1, 0,
                           "Fran\xC3\xA7"
                           "ais.lng"}},
        ParseCase{"empty_file", "", Settings{0, 0, 0, "", 0, 0, 0, ""}},
        ParseCase{"byte_order_mark",
                  "\xEF\xBB\xBF"
                  "4\r\n5\r\n6\r\n3\r\n0\r\n0\r\n1\r\nFrench.lng\r\n",
                  Settings{4, 5, 6, "3", 0, 0, 1, "French.lng"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Eight CRLF lines (no language: an empty last one) that read back the same, also through the
// file, which is all that is left: no temporary files behind. Plain files stay byte-identical.
TEST(SettingsSave, EightCrLfLinesThatReadBackTheSame) {
    TempDir dir;
    const auto file = SettingsPath(dir.path());
    const std::pair<Settings, std::string> cases[] = {
        {Settings{1, 2, 3, "2", 1, 1, 0, ""}, "1\r\n2\r\n3\r\n2\r\n1\r\n1\r\n0\r\n\r\n"},
        {Settings{1, 2, 3, "1.5", 1, 0, 0, "English.lng"},
         "1\r\n2\r\n3\r\n1.5\r\n1\r\n0\r\n0\r\nEnglish.lng\r\n"},
        {Settings{12, -1, 0, "0.5", 0, 0, 3, "Italiano.lng"},
         "12\r\n-1\r\n0\r\n0.5\r\n0\r\n0\r\n3\r\nItaliano.lng\r\n"},
        {Settings{-32768, 32767, 5, "3", 2, 1, -1, "Brazilian.lng"},
         "-32768\r\n32767\r\n5\r\n3\r\n2\r\n1\r\n-1\r\nBrazilian.lng\r\n"}};
    for (const auto& [settings, bytes] : cases) {
        EXPECT_EQ(FormatSettings(settings), bytes);
        EXPECT_EQ(ParseSettings(bytes), settings);
        ASSERT_TRUE(SaveSettings(file, settings));
        EXPECT_EQ(ReadFile(file), bytes);
        Settings back;
        EXPECT_EQ(LoadSettings(file, back), SettingsLoad::Found);
        EXPECT_EQ(back, settings);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_EQ(FormatSettings(Settings{-5, 0, 32767, " 1.5 ", 0, 2, -1, "Italiano.lng"}),
              "-5\r\n0\r\n32767\r\n1.5\r\n0\r\n2\r\n-1\r\nItaliano.lng\r\n");
}

TEST(SettingsSave, NoFieldSpillsIntoTheNext) {
    // A speed that is no plain number is written as the number the engine reads from it.
    for (const auto& [typed, written] : std::vector<std::pair<std::string, std::string>>{
             {"1,5", "1"}, {"fast", "0"}, {"1 .7", "1.7"}, {"", ""}}) {
        const Settings read = ParseSettings(FormatSettings(Settings{1, 2, 3, typed, 1, 1, 0, "x"}));
        EXPECT_EQ(read.PointerSpeed, written) << typed;
    }
    const Settings comma{1, 2, 3, "2", 1, 1, 0, "Mine, v2.lng"};
    EXPECT_EQ(FormatSettings(comma).substr(FormatSettings(comma).rfind("0\r\n") + 3),
              "\"Mine, v2.lng\"\r\n");
    EXPECT_EQ(ParseSettings(FormatSettings(comma)), comma);
    // Names a plain line would change on reading come back unchanged too.
    for (const char* name : {" x.lng", "x.lng\t", "two\r\nlines.lng"}) {
        const Settings odd{1, 2, 3, "2", 1, 1, 0, name};
        EXPECT_EQ(ParseSettings(FormatSettings(odd)), odd) << name;
    }
}

// Lines after the eighth name the added settings; a reader of eight fields never sees them.
TEST(SettingsAdded, AreReadAfterTheEighthLineAndWrittenOnlyAwayFromTheirDefaults) {
    const std::string eight = "1\r\n2\r\n3\r\n2\r\n1\r\n1\r\n0\r\nEnglish.lng\r\n";
    struct Case {
        const char* after;
        std::int16_t stick, speed;
    };
    for (const Case& c :
         {Case{"", 1, 3}, Case{"ScrollSpeed=5\r\n", 1, 5}, Case{"Other=2\nScrollStick=0", 0, 3},
          Case{"ScrollSpeed=2\r\nScrollSpeed=4\r\n", 1, 4},
          Case{"ScrollSpeed=9\r\nScrollStick=x\r\n ScrollSpeed=1\r\n", 1, 3}}) {
        const Settings read = ParseSettings(eight + c.after);
        EXPECT_EQ(FormatSettings(read).substr(0, eight.size()), eight) << c.after;
        EXPECT_EQ(std::pair(read.ScrollStick, read.ScrollSpeed), std::pair(c.stick, c.speed))
            << c.after;
    }
    Settings s = ParseSettings(eight);
    s.ScrollSpeed = 1;
    EXPECT_EQ(FormatSettings(s), eight + "ScrollSpeed=1\r\n");
    s.ScrollStick = 0;
    EXPECT_EQ(FormatSettings(s), eight + "ScrollStick=0\r\nScrollSpeed=1\r\n");
    EXPECT_EQ(ParseSettings(FormatSettings(s)), s);
}

// A missing folder fails quietly too.
TEST(SettingsSave, ReadOnlyFolderFailsQuietlyAndKeepsTheOldFile) {
    TempDir dir;
    const auto file = SettingsPath(dir.path());
    EXPECT_FALSE(
        SaveSettings(dir / "no-such-folder" / "Vantrel.ini", Settings{1, 2, 3, "2", 1, 1, 0, ""}));
    ASSERT_TRUE(SaveSettings(file, Settings{1, 2, 3, "2", 1, 1, 0, ""}));
    namespace fs = std::filesystem;
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::others_read | fs::perms::others_exec |
                                    fs::perms::group_read | fs::perms::group_exec);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read |
                              fs::perms::others_write);
    EXPECT_EQ(test::ExitStatusWithoutPrivileges([&] {
                  return SaveSettings(file, Settings{4, 5, 6, "1", 0, 0, 0, ""}) ? 0 : 1;
              }),
              1);
    EXPECT_EQ(ReadFile(file), "1\r\n2\r\n3\r\n2\r\n1\r\n1\r\n0\r\n\r\n");
}

TEST(AtomicFile, ASecretIsReadableByItsOwnerOnlyWhateverTheUmask) {
    TempDir dir;
    namespace fs = std::filesystem;
    const mode_t umask = ::umask(022);
    ASSERT_TRUE(
        ReplaceFileAtomically(dir / "token", dir / "token.tmp", "x", FileReaders::OwnerOnly));
    ASSERT_TRUE(ReplaceFileAtomically(dir / "ini", dir / "ini.tmp", "x"));
    ::umask(umask);
    EXPECT_EQ(fs::status(dir / "token").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(dir / "ini").permissions() & fs::perms::others_read,
              fs::perms::others_read);
}

}  // namespace
}  // namespace vantrel
