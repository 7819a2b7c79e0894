// The whole program started as a user starts it, with chosen displays, variables and options:
// the starts that cannot work end at once with their status and a line on standard error,
// instead of aborting or running on without effect.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TempDir.h"

namespace vantrel {
namespace {

struct ExitCase {
    const char* name;
    // Shell words: variables, then "vantrel" and its options. $XTESTLESS names an X display
    // without XTEST; no other display is set, and the runtime folder holds no compositor's socket.
    const char* start;
    int status;
    const char* firstLine;  // a part of it
};

class ProgramExit : public ::testing::TestWithParam<ExitCase> {
  protected:
    // An X server without XTEST (-tst), waited for until it takes clients.
    void SetUp() override {
        const std::string display = (home / "display").string(), pid = (home / "pid").string();
        ASSERT_EQ(
            std::system(("Xvfb -displayfd 3 -tst -nolisten tcp 3>" + display +
                         " >/dev/null 2>&1 & echo $! >" + pid + "; timeout 60 sh -c 'until [ -s " +
                         display + " ]; do sleep 0.05; done'")
                            .c_str()),
            0);
        std::ifstream in(display);
        in >> xtestless;
    }
    void TearDown() override {
        static_cast<void>(std::system(("kill $(cat " + (home / "pid").string() + ")").c_str()));
    }
    test::TempDir home;
    int xtestless = -1;  // its display number
};

TEST_P(ProgramExit, EndsAtOnceWithItsStatusAndOneLine) {
    const ExitCase& c = GetParam();
    const std::string folder = home.path().string();
    const std::string command =
        "mkdir -m 700 " + folder + "/run; XTESTLESS=:" + std::to_string(xtestless) +
        "; PATH=" VANTREL_PROGRAM_DIR
        ":$PATH timeout -s KILL 60 env -u DISPLAY -u WAYLAND_DISPLAY -u "
        "XDG_SESSION_TYPE -u QT_QPA_PLATFORM HOME=" +
        folder + " XDG_RUNTIME_DIR=" + folder + "/run " + c.start + " 2>" + folder + "/stderr";
    const int status = std::system(command.c_str());
    std::ifstream in(home / "stderr");
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 137) << "hangs:\n" << text;
    EXPECT_EQ(WEXITSTATUS(status), c.status) << text;
    const std::string firstLine = text.substr(0, text.find('\n'));
    EXPECT_NE(firstLine.find(c.firstLine), std::string::npos) << text;
    // A failure to start says one thing; only a wrong option adds the usage text.
    if (c.status != 64) EXPECT_EQ(firstLine.size() + 1, text.size()) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Starts, ProgramExit,
    ::testing::Values(ExitCase{"Misspelt", "DISPLAY=$XTESTLESS vantrel --pointr=wlroots", 64,
                               "unknown option --pointr=wlroots"},
                      ExitCase{"QtsTwoDashes",
                               "WAYLAND_DISPLAY=none vantrel --platform offscreen "
                               "--pointer=wlroots",
                               69, "--pointer=wlroots:"},
                      ExitCase{"NoDisplay", "vantrel", 69, "no display can be opened"},
                      ExitCase{"NoDisplayUinput", "vantrel --pointer=uinput", 69,
                               "no display can be opened"},
                      ExitCase{"NoDisplayForQt", "QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=none vantrel",
                               69, "no display can be opened"},
                      ExitCase{"X11WithoutX", "vantrel -platform offscreen --pointer=x11", 69,
                               "--pointer=x11: no X display"},
                      ExitCase{"X11WithoutXTest", "DISPLAY=$XTESTLESS vantrel --pointer=x11", 69,
                               "lacks the XTEST extension"},
                      ExitCase{"X11OnQtsDisplay", "vantrel -display $XTESTLESS --pointer=x11", 69,
                               "lacks the XTEST extension"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantrel
