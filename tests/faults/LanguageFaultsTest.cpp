// Language files that are not text: NUL bytes, a 10 MB line, more than the reader takes in.
#include <gtest/gtest.h>

#include <string>

#include "core/text/LanguageFile.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

using test::TempDir;
using test::WriteFile;

class LanguageFaults : public ::testing::Test {
  protected:
    LanguageFaults() {
        std::filesystem::create_directories(LanguageFolder(dir.path()));
        for (std::size_t i = 1; i < texts.size(); ++i) texts[i] = "old " + std::to_string(i);
    }

    bool Load(const std::string& bytes) {
        WriteFile(LanguageFolder(dir.path()) / "Fault.lng", bytes);
        return LoadTexts(dir.path(), "Fault.lng", texts);
    }

    static std::string Line(int n, const std::string& text) {
        return (n < 10 ? "0" : "") + std::to_string(n) + "=" + text + "\r\n";
    }

    TempDir dir;
    LangText texts;
};

TEST_F(LanguageFaults, NulBytesAreCharactersLikeAnyOther) {
    using namespace std::string_literals;
    ASSERT_TRUE(Load(Line(1, "one") +
                     "\0\0\0after three NULs\r\n"s +  // the prefix is three characters, NULs too
                     "\0\0\r\n"s +                    // two characters: empties the entry
                     "\0\r\n"s +                      // one: leaves it
                     Line(5, "in\0side"s) +           //
                     "\0\0\0\0\0\0\0\0\0\0\r\n"s +    //
                     Line(7, "seven")));
    EXPECT_EQ(texts[1], "one");
    EXPECT_EQ(texts[2], "after three NULs");
    EXPECT_EQ(texts[3], "");
    EXPECT_EQ(texts[4], "old 4");
    EXPECT_EQ(texts[5], "in\0side"s);
    EXPECT_EQ(texts[6], std::string(7, '\0'));
    EXPECT_EQ(texts[7], "seven");
    EXPECT_EQ(texts[8], "old 8");
}

TEST_F(LanguageFaults, TenMegabyteLineInTheMiddleLeavesItsNeighboursAlone) {
    std::string bytes;
    for (int n = 1; n <= 50; ++n)
        bytes +=
            Line(n, n == 25 ? std::string(10 * 1024 * 1024, 'z') : "text " + std::to_string(n));
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(texts[24], "text 24");
    EXPECT_EQ(texts[25].size(), 10u * 1024 * 1024);
    EXPECT_EQ(texts[25].find_first_not_of('z'), std::string::npos);
    EXPECT_EQ(texts[26], "text 26");
    EXPECT_EQ(texts[50], "text 50");
}

TEST_F(LanguageFaults, ReadingStopsAtTheByteCapAndLaterEntriesKeepTheirTexts) {
    // Two 10 MB lines pass the reader's 16 MB cap inside line 2: line 2 is cut short, line 3 is
    // never reached and keeps the text it had.
    const std::string big(10 * 1024 * 1024, 'q');
    ASSERT_TRUE(Load(Line(1, big) + Line(2, big) + Line(3, "three")));
    EXPECT_EQ(texts[1].size(), big.size());
    EXPECT_GT(texts[2].size(), 1u * 1024 * 1024);
    EXPECT_LT(texts[2].size(), big.size());
    EXPECT_EQ(texts[2].find_first_not_of('q'), std::string::npos);
    EXPECT_EQ(texts[3], "old 3");
}

TEST_F(LanguageFaults, BytesAfterLineFiftyDoNotChangeHowTheFileReads) {
    // Fifty UTF-8 lines, then bytes that are not UTF-8 and a line without end: the reader stops
    // at line 50, so the accents still read as UTF-8 rather than as Windows-1252.
    std::string bytes;
    for (int n = 1; n <= 50; ++n) bytes += Line(n, "caf\xC3\xA9 " + std::to_string(n));
    bytes += "\xFF\xFE" + std::string(10 * 1024 * 1024, '\0');
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(texts[1], "caf\xC3\xA9 1");
    EXPECT_EQ(texts[50], "caf\xC3\xA9 50");
    EXPECT_EQ(texts[0], "");
}

}  // namespace
}  // namespace vantrel
