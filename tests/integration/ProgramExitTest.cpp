// The whole program started with chosen displays, variables and options: starts that cannot work
// end at once with their status and one line, not an abort or a useless run. Xvfb without XTEST.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/TempDir.h"

namespace vantrel {
namespace {

struct ExitCase {
    // Shell words: variables, "vantrel", options. $XTESTLESS: the test's display; no other display
    // is set, and the runtime folder holds no compositor's socket.
    const char* start;
    int status;
    const char* firstLine;  // a part of it
};

class ProgramExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(ProgramExit, EndsAtOnceWithItsStatusAndOneLine) {
    const ExitCase& c = GetParam();
    const test::TempDir home;
    const std::string folder = home.path().string();
    const std::string command =
        "mkdir -m 700 " + folder + "/run; XTESTLESS=$DISPLAY; PATH=" + VANTREL_PROGRAM_DIR +
        ":$PATH timeout -s KILL 60 env -u DISPLAY " +
        "-u WAYLAND_DISPLAY -u XDG_SESSION_TYPE -u QT_QPA_PLATFORM HOME=" + folder +
        " XDG_RUNTIME_DIR=" + folder + "/run " + c.start + " 2>" + folder + "/stderr";
    const int status = std::system(command.c_str());
    const std::string text = test::ReadFile(home / "stderr");
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 137) << "hangs:\n" << text;
    EXPECT_EQ(WEXITSTATUS(status), c.status) << text;
    const std::string firstLine = text.substr(0, text.find('\n'));
    EXPECT_NE(firstLine.find(c.firstLine), std::string::npos) << text;
    // A failure to start says one thing; only a wrong option adds the usage text.
    if (c.status != 64) {
        EXPECT_EQ(firstLine.size() + 1, text.size()) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Starts, ProgramExit,
    ::testing::Values(
        ExitCase{"DISPLAY=$XTESTLESS vantrel --pointr=wlroots", 64,
                 "unknown option --pointr=wlroots"},
        ExitCase{"WAYLAND_DISPLAY=none vantrel --platform offscreen --pointer=wlroots", 69,
                 "--pointer=wlroots:"},
        ExitCase{"vantrel", 69, "no display can be opened"},
        ExitCase{"vantrel --pointer=uinput", 69, "no display can be opened"},
        ExitCase{"env -u XDG_RUNTIME_DIR vantrel", 69, "no display can be opened"},
        ExitCase{"QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=none vantrel", 69,
                 "no display can be opened"},
        ExitCase{"vantrel -platform offscreen --pointer=x11", 69, "--pointer=x11: no X display"},
        ExitCase{"DISPLAY=$XTESTLESS vantrel --pointer=x11", 69, "lacks the XTEST extension"},
        ExitCase{"vantrel -display $XTESTLESS --pointer=x11", 69, "lacks the XTEST extension"}));

}  // namespace
}  // namespace vantrel
