// Quoting the program's path for the Exec key of an autostart entry.
#include <gtest/gtest.h>

#include "core/startup/DesktopEntry.h"

namespace vantrel {
namespace {

struct QuoteCase {
    const char* argument;
    const char* exec;  // the Exec syntax, before string escaping
};

class QuoteExecArgument : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(QuoteExecArgument, ReservedCharactersAreQuotedAndEscaped) {
    EXPECT_EQ(QuoteDesktopExecArgument(GetParam().argument), GetParam().exec);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, QuoteExecArgument,
    ::testing::Values(QuoteCase{"/usr/bin/vantrel", "/usr/bin/vantrel"},
                      QuoteCase{"/opt/My Tools/vantrel", R"("/opt/My Tools/vantrel")"},
                      QuoteCase{R"(/opt/a"b/vantrel)", R"("/opt/a\"b/vantrel")"},
                      QuoteCase{"/opt/$HOME/vantrel", R"("/opt/\$HOME/vantrel")"},
                      QuoteCase{R"(/opt/back\slash/vantrel)", R"("/opt/back\\slash/vantrel")"},
                      QuoteCase{"/opt/a`b`/vantrel", R"("/opt/a\`b\`/vantrel")"},
                      QuoteCase{"/opt/it's/vantrel", R"("/opt/it's/vantrel")"},
                      QuoteCase{"/opt/100%/vantrel", "/opt/100%%/vantrel"},
                      QuoteCase{"/opt/100% sure/%f", R"("/opt/100%% sure/%%f")"},
                      QuoteCase{"/opt/x;y&z|w/(v)", R"x("/opt/x;y&z|w/(v)")x"},
                      QuoteCase{"/opt/caffè/vantrel", "/opt/caffè/vantrel"},
                      QuoteCase{"", R"("")"}));

TEST(EscapeDesktopString, BackslashesAndControlCharacters) {
    EXPECT_EQ(EscapeDesktopString(R"("a\\b")"), R"("a\\\\b")");
    EXPECT_EQ(EscapeDesktopString("line\nnext\ttab\rcr"), R"(line\nnext\ttab\rcr)");
    EXPECT_EQ(EscapeDesktopString(" lead and inner"), R"(\slead and inner)");
}

TEST(AutostartDesktopEntry, WholeFileForAPathWithSpacesQuotesDollarAndBackslash) {
    const std::string text = AutostartDesktopEntry(R"(/home/u/My "Apps"/$HOME/back\slash/vantrel)");
    EXPECT_EQ(text,
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Vantrel\n"
              "Comment=Drive the mouse pointer with a joystick\n"
              R"(Exec="/home/u/My \\"Apps\\"/\\$HOME/back\\\\slash/vantrel" --at-logon)"
              "\n"
              R"(TryExec=/home/u/My "Apps"/$HOME/back\\slash/vantrel)"
              "\n"
              "Terminal=false\n"
              "X-GNOME-Autostart-enabled=true\n");
}

TEST(AutostartDesktopEntry, NewlineInAPathCannotBreakTheFile) {
    const std::string text = AutostartDesktopEntry("/tmp/a\nExec=/bin/evil");
    EXPECT_NE(text.find(R"(Exec="/tmp/a\nExec=/bin/evil" --at-logon)"
                        "\n"),
              std::string::npos);
    EXPECT_EQ(text.find("\nExec=/bin/evil"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
