#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "core/text/BuiltInTexts.h"
#include "core/text/LanguageFile.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

class LanguageFileTest : public ::testing::Test {
  protected:
    // Writes Lang/`name` and reads it into `texts`.
    bool Load(std::string_view bytes, const std::string& name = "Test.lng") {
        folder.Write(std::filesystem::path("Lang") / name, bytes);
        return LoadTexts(folder.path(), name, texts);
    }

    test::TempDir folder;
    LangText texts;
};

struct ReadCase {
    const char* name;
    std::string bytes;
    std::vector<std::pair<int, std::string>> entries;  // entry, text after the read
    std::string file = "Test.lng";
};

class LanguageFileReadTest : public LanguageFileTest,
                             public ::testing::WithParamInterface<ReadCase> {};

TEST_P(LanguageFileReadTest, EntryIsTheLineFromItsFourthCharacter) {
    ASSERT_TRUE(Load(GetParam().bytes, GetParam().file));
    for (const auto& [entry, text] : GetParam().entries) EXPECT_EQ(texts[entry], text) << entry;
}

INSTANTIATE_TEST_SUITE_P(
    Files, LanguageFileReadTest,
    ::testing::Values(
        ReadCase{"Plain",
                 "01=&OK\r\n02=  spaced, \"quoted\" \r\n03=x=y\r\n",
                 {{1, "&OK"}, {2, "  spaced, \"quoted\" "}, {3, "x=y"}, {0, ""}, {4, ""}}},
        // Three two-byte letters, then the text: the prefix is skipped by characters, not bytes.
        ReadCase{"PrefixOfCharacters",
                 "\xC3\xA0\xC3\xA8\xC3\xACVelocit\xC3\xA0\r\n",
                 {{1, "Velocit\xC3\xA0"}}},
        // Only a mark that opens the file is dropped.
        ReadCase{"ByteOrderMark",
                 "\xEF\xBB\xBF"
                 "01=&OK\r\n02=\xEF\xBB\xBFkept\r\n",
                 {{1, "&OK"}, {2, "\xEF\xBB\xBFkept"}}},
        // 0xE0 0xE8 0xEC as prefix, 0xE9 and 0x80 (euro sign) in the text.
        ReadCase{"Windows1252",
                 "\xE0\xE8\xEC"
                 "Caf\xE9 \x80\r\n02=ok\r\n",
                 {{1, "Caf\xC3\xA9 \xE2\x82\xAC"}, {2, "ok"}}},
        // A lone line feed ends a line, a lone carriage return does not.
        ReadCase{"LineEnds",
                 "01=one\n02=two\r\n03=a\rb\n04=last without end",
                 {{1, "one"}, {2, "two"}, {3, "a\rb"}, {4, "last without end"}}},
        ReadCase{"InASubfolder", "01=deep\r\n", {{1, "deep"}}, "sub/Deep.lng"}),
    [](const auto& info) { return std::string(info.param.name); });

struct LengthCase {
    const char* line;
    const char* expected;
};

class LineLengthTest : public LanguageFileTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(LineLengthTest, ShortLinesEmptyOrKeepTheirEntry) {
    texts[1] = "before";
    texts[2] = "second before";
    ASSERT_TRUE(Load(std::string(GetParam().line) + "\r\n02=next\r\n"));
    EXPECT_EQ(texts[1], GetParam().expected);
    EXPECT_EQ(texts[2], "next");  // the short line still counted as line 1
}

INSTANTIATE_TEST_SUITE_P(Lengths, LineLengthTest,
                         ::testing::Values(LengthCase{"", "before"}, LengthCase{"x", "before"},
                                           LengthCase{"\xC3\xA9", "before"}, LengthCase{"01", ""},
                                           LengthCase{"01=", ""},
                                           LengthCase{"\xC3\xA9\xC3\xA9", ""},
                                           LengthCase{"01=a", "a"}));

TEST_F(LanguageFileTest, OnlyTheFirstFiftyLinesCount) {
    std::string bytes;
    for (int n = 1; n <= 60; ++n) bytes += "xx=line " + std::to_string(n) + "\r\n";
    texts[0] = "untouched";
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(texts[0], "untouched");
    EXPECT_EQ(texts[1], "line 1");
    EXPECT_EQ(texts[50], "line 50");
}

TEST_F(LanguageFileTest, ShorterFileKeepsTheLaterEntriesOfTheEarlierOne) {
    std::string longer, shorter;
    for (int n = 1; n <= 33; ++n) longer += "xx=old " + std::to_string(n) + "\r\n";
    for (int n = 1; n <= 20; ++n) shorter += "xx=new " + std::to_string(n) + "\r\n";
    ASSERT_TRUE(Load(longer, "Long.lng"));
    ASSERT_TRUE(Load(shorter, "Short.lng"));
    EXPECT_EQ(texts[20], "new 20");
    EXPECT_EQ(texts[21], "old 21");
    EXPECT_EQ(texts[33], "old 33");
}

TEST_F(LanguageFileTest, AddedLinesAFileLacksAreEnglishNotThePreviousLanguage) {
    const auto previous = [this] {
        for (int n = 1; n <= 50; ++n) texts[n] = "previous " + std::to_string(n);
    };
    previous();
    ASSERT_TRUE(Load("01=one\r\n"));  // a file from before the added lines
    EXPECT_EQ(texts[2], "previous 2");
    EXPECT_EQ(texts[TextId::JoystickPicture], "Picture of a joystick");

    // Line 34 holds only its prefix, line 35 is empty, line 36 has words of its own.
    std::string bytes;
    for (int n = 1; n <= 33; ++n) bytes += "xx=" + std::to_string(n) + "\r\n";
    previous();
    ASSERT_TRUE(Load(bytes + "34=\r\n\r\n36=own\r\n"));
    EXPECT_EQ(texts[TextId::XWaylandWarning], BuiltInTexts()[TextId::XWaylandWarning]);
    EXPECT_EQ(texts[TextId::JoystickPicture], "Picture of a joystick");
    EXPECT_EQ(texts[36], "own");
    EXPECT_EQ(texts[50], BuiltInTexts()[50]);
}

TEST_F(LanguageFileTest, UnreadableFileLeavesTheTableAlone) {
    texts[7] = "&Options...";
    const LangText before = texts;
    std::filesystem::create_directories(folder.path() / "Lang" / "Folder.lng");
    ASSERT_EQ(mkfifo((folder.path() / "Lang" / "Pipe.lng").c_str(), 0600), 0);
    folder.Write("Lang/English.lng", "01=English\r\n");
    folder.Write("Outside.lng", "01=outside\r\n");
    folder.Write("Lang/etc/passwd", "01=below Lang\r\n");
    folder.Write("Lang/Inside.lng", "01=inside\r\n");

    // A missing file, no name, a folder, a FIFO (opening it would block), a name that a NUL
    // would cut down to an existing file, and names a hand-edited settings file may hold that
    // point out of Lang/ (every target exists).
    for (const std::string& name : std::vector<std::string>{
             "Missing.lng", "", "Folder.lng", "Pipe.lng", std::string("English.lng\0.x", 14),
             "../../../../../../etc/passwd", "../Outside.lng", "sub/../../Outside.lng",
             "sub/../Inside.lng", (folder / "Outside.lng").string(), "/etc/passwd"}) {
        EXPECT_FALSE(LoadTexts(folder.path(), name, texts)) << name;
        EXPECT_EQ(texts, before) << name;
    }
}

TEST_F(LanguageFileTest, BinaryContentAndHugeLinesAreTakenAsText) {
    std::string huge = "01=" + std::string(10 * 1024 * 1024, 'x') + "\r\n";
    std::string bytes = huge + std::string("02=a\0b\r\n", 8) + "03=\xFF\xFE\r\n";
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(texts[1].size(), 10u * 1024 * 1024);
    EXPECT_EQ(texts[2], std::string("a\0b", 3));
    // Not UTF-8, so the whole file is Windows-1252.
    EXPECT_EQ(texts[3], "\xC3\xBF\xC3\xBE");
}

TEST_F(LanguageFileTest, FileWithoutLineEndsIsReadOnlyUpToALimit) {
    // 40 MB without a line end: the read stops at its limit rather than taking it all.
    ASSERT_TRUE(Load("01=" + std::string(40 * 1024 * 1024, 'y')));
    EXPECT_GT(texts[1].size(), 10u * 1024 * 1024);
    EXPECT_LT(texts[1].size(), 40u * 1024 * 1024);
}

}  // namespace
}  // namespace vantrel
