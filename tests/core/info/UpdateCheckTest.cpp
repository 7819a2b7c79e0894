// The version string, the decision, the question text and the check's flow with fake ports.
#include <gtest/gtest.h>

#include "core/info/Documents.h"
#include "core/info/UpdateCheck.h"
#include "support/fakes/FakeHttpFetch.h"
#include "support/fakes/FakeMessageBox.h"
#include "support/fakes/FakeOpener.h"

namespace vantrel {
namespace {

struct VersionCase {
    int major, minor, revision;
    const char* expected;
};

class ComparableVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(ComparableVersionTest, NineDigitsThreePerNumber) {
    const VersionCase& c = GetParam();
    EXPECT_EQ(ComparableVersion(c.major, c.minor, c.revision), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, ComparableVersionTest,
    ::testing::Values(VersionCase{1, 3, 1, "001003001"}, VersionCase{2, 10, 0, "002010000"},
                      VersionCase{0, 0, 0, "000000000"}, VersionCase{9, 99, 10, "009099010"},
                      // Beyond two digits the string stays nine digits long and ordered.
                      VersionCase{100, 0, 999, "100000999"}, VersionCase{1000, -1, 5, "999000005"}),
    [](const auto& info) { return std::string(info.param.expected); });

TEST(ComparableVersionTest, OwnVersionIsThisRelease) {
    EXPECT_EQ(ComparableVersion(OwnVersion()), "001003001");
    EXPECT_EQ(ReleaseText(OwnVersion()), "Rel. 1.3.1");
}

struct DecisionCase {
    const char* name;
    std::string body;
    bool offers;
};

class OffersUpdateTest : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(OffersUpdateTest, AgainstOwn131) {
    EXPECT_EQ(OffersUpdate(GetParam().body, "001003001"), GetParam().offers);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, OffersUpdateTest,
    ::testing::Values(
        DecisionCase{"Equal", "001003001", false}, DecisionCase{"NewerPatch", "001003002", true},
        DecisionCase{"NewerMajor", "002000000", true}, DecisionCase{"Older", "001002009", false},
        DecisionCase{"FiveCharacters", "1.4.0", false},
        DecisionCase{"TenDigits", "0010030020", false},
        DecisionCase{"NineDigitsAndLineBreak", "001003002\r\n", false},
        DecisionCase{"NineDigitsAndLf", "001003002\n", false},
        DecisionCase{"LeadingBlank", " 01003002", false}, DecisionCase{"Empty", "", false},
        // Nine bytes that are no version sort above it, but offer nothing.
        DecisionCase{"NineCapitalLetters", "ABCDEFGHI", false},
        DecisionCase{"NineSmallLetters", "abcdefghi", false},
        DecisionCase{"ErrorPageServedAsSuccess", "Not Found", false},
        DecisionCase{"DigitsAndLetter", "00200000x", false},
        DecisionCase{"HighBytes", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9x", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParagraphBreaksTest, UpperCaseMarkerBecomesEmptyLine) {
    EXPECT_EQ(ParagraphBreaks("New version.<BR>Open the page?"), "New version.\n\nOpen the page?");
    EXPECT_EQ(ParagraphBreaks("<BR>a<BR><BR>"), "\n\na\n\n\n\n");
    EXPECT_EQ(ParagraphBreaks("One<br>two <Br> three"), "One<br>two <Br> three");
    EXPECT_EQ(ParagraphBreaks("<B<BR>R>"), "<B\n\nR>");
    EXPECT_EQ(ParagraphBreaks(""), "");
}

class CheckForUpdatesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        texts[32] = "A new version is out.<BR>Go to the web page?";
        texts[33] = "Vantrel update";
    }

    void Check() {
        CheckForUpdates({http, boxes, opener, texts, [this] { ++ends; }},
                        {"https://127.0.0.1:1/ver_vantrel.txt", std::chrono::milliseconds(700),
                         ProgramVersion{1, 3, 1}});
    }

    FakeHttpFetch http;
    FakeMessageBox boxes;
    FakeOpener opener;
    LangText texts;
    int ends = 0;
};

// The given address and timeout, or by default the compiled address and fifteen seconds.
TEST_F(CheckForUpdatesTest, AsksForTenBytesWithTheGivenAddressAndTimeout) {
    Check();
    CheckForUpdates({http, boxes, opener, texts, [this] { ++ends; }});
    ASSERT_EQ(http.requests.size(), 2u);
    EXPECT_EQ(http.requests[0].url, "https://127.0.0.1:1/ver_vantrel.txt");
    EXPECT_EQ(http.requests[0].timeout, std::chrono::milliseconds(700));
    EXPECT_EQ(http.requests[1].url, VANTREL_VERSION_URL);
    EXPECT_EQ(http.requests[1].timeout, std::chrono::seconds(15));
    for (const auto& request : http.requests) EXPECT_EQ(request.maxBytes, 10u);
    EXPECT_TRUE(boxes.shown.empty());  // nothing happens before the answer
}

// The texts as they are when the answer arrives, empty ones too.
TEST_F(CheckForUpdatesTest, NewerVersionAsksAndNoKeepsRunning) {
    for (const bool empty : {false, true}) {
        boxes.shown.clear();
        if (empty) texts = {};
        Check();
        if (!empty) texts[33] = "Changed title";
        http.Answer(empty ? "999999999" : "001004000");
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_TRUE(boxes.shown[0].question);
        EXPECT_EQ(boxes.shown[0].title, empty ? "" : "Changed title");
        EXPECT_EQ(boxes.shown[0].text, empty ? "" : "A new version is out.\n\nGo to the web page?");
        EXPECT_TRUE(opener.addresses.empty());
        EXPECT_EQ(ends, 0);
    }
}
// Yes to any question: none comes for an equal, older, malformed or failed answer; a newer one
// opens the product page, then the program ends even when no browser answers.
TEST_F(CheckForUpdatesTest, NoQuestionForEqualOlderMalformedOrFailed) {
    boxes.answerYes = true;
    opener.succeeds = false;
    for (std::optional<std::string> body :
         {std::optional<std::string>("001003001"), std::optional<std::string>("001002009"),
          std::optional<std::string>("001004000\n"), std::optional<std::string>(""),
          std::optional<std::string>()}) {
        Check();
        http.Answer(body);
    }
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(opener.addresses.empty());
    EXPECT_EQ(ends, 0);

    Check();
    http.Answer("002000000");
    ASSERT_EQ(opener.addresses.size(), 1u);
    EXPECT_EQ(opener.addresses[0], PageAddress(WebPage::Product));
    EXPECT_EQ(ends, 1);
}

}  // namespace
}  // namespace vantrel
