#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/startup/CommandLine.h"
#include "core/startup/PointerChoice.h"

namespace vantrel {
namespace {

using Backend = PointerBackend;
using Notice = PointerChoice::Notice;
using Request = PointerRequest;

struct ChoiceCase {
    const char* name;
    PointerSession session;
    Request request;
    bool offered, writable;
    PointerChoice expected;
    const char* probed;  // the probes asked, in order: "w" wlroots, "u" uinput, "p" portal, "x" X11
    bool portal = false;
    X11Reach x11 = X11Reach::Ready;
};

const PointerSession kX11{"x11", true, false};
const PointerSession kWayland{"wayland", true, true};
const PointerSession kNoType{"", false, true};      // only WAYLAND_DISPLAY: Wayland
const PointerSession kNoTypeX{"", true, false};     // only DISPLAY: X11
const PointerSession kX11Typed{"x11", true, true};  // the session type wins
const PointerSession kConsole{"tty", false, false};
const PointerChoice kUnavailable{Backend::X11, Notice::RequestedUnavailable};
const PointerChoice kXWaylandOnly{Backend::X11, Notice::XWaylandOnly};

class PointerChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(PointerChoiceTest, PicksTheOutputAndAsksOnlyWhatItNeeds) {
    const ChoiceCase c = GetParam();
    std::string probed;
    const PointerProbes probes{
        .offered =
            [&](Backend backend) {  // in PointerBackend's order: X11 is never asked this way
                const auto i = static_cast<std::size_t>(backend);
                probed += "?wup"[i];
                return std::array{false, c.offered, c.writable, c.portal}[i];
            },
        .x11 = [&] { return probed += 'x', c.x11; },
    };
    EXPECT_EQ(ChoosePointer(c.session, c.request, probes), c.expected);
    EXPECT_EQ(probed, c.probed);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, PointerChoiceTest,
    ::testing::Values(
        ChoiceCase{"X11", kX11, kAutoPointer, true, true, {Backend::X11}, "x"},
        ChoiceCase{"DisplayOnly", kNoTypeX, kAutoPointer, true, true, {Backend::X11}, "x"},
        ChoiceCase{"X11TypeWins", kX11Typed, kAutoPointer, true, true, {Backend::X11}, "x"},
        ChoiceCase{"Wlroots", kWayland, kAutoPointer, true, true, {Backend::Wlroots}, "w"},
        ChoiceCase{
            "WaylandDisplayOnly", kNoType, kAutoPointer, true, false, {Backend::Wlroots}, "w"},
        ChoiceCase{"Uinput", kWayland, kAutoPointer, false, true, {Backend::Uinput}, "wu"},
        ChoiceCase{"UinputMissingOrReadOnly", kWayland, kAutoPointer, false, false, kXWaylandOnly,
                   "wup"},
        ChoiceCase{"Portal", kWayland, kAutoPointer, false, false, {Backend::Portal}, "wup", true},
        ChoiceCase{
            "PortalNotOnConsole", kConsole, kAutoPointer, false, false, {Backend::X11}, "u", true},
        ChoiceCase{"AskedPortal", kX11, Backend::Portal, true, true, {Backend::Portal}, "p", true},
        ChoiceCase{"AskedPortalMissing", kWayland, Backend::Portal, true, true, kUnavailable, "p"},
        ChoiceCase{"Console", kConsole, kAutoPointer, true, true, {Backend::Uinput}, "u"},
        ChoiceCase{"ConsoleNoUinput", kConsole, kAutoPointer, true, false, {Backend::X11}, "u"},
        ChoiceCase{"AskedX11", kWayland, Backend::X11, true, true, {Backend::X11}, "x"},
        ChoiceCase{"AskedUinputOnX11", kX11, Backend::Uinput, true, true, {Backend::Uinput}, "u"},
        ChoiceCase{"AskedUinputMissing", kWayland, Backend::Uinput, true, false, kUnavailable, "u"},
        ChoiceCase{
            "AskedWlroots", kWayland, Backend::Wlroots, true, false, {Backend::Wlroots}, "w"},
        ChoiceCase{"AskedWlrootsMissing", kWayland, Backend::Wlroots, false, true, kUnavailable,
                   "w"},
        ChoiceCase{"X11WithoutXTestWarns",
                   kX11,
                   kAutoPointer,
                   true,
                   true,
                   {Backend::X11, Notice::XTestMissing},
                   "x",
                   false,
                   X11Reach::NoXTest}),
    [](const auto& info) { return std::string(info.param.name); });

struct LineCase {
    const char* name;
    std::vector<std::string> arguments;
    CommandLine::Action action;
    Request pointer;
    bool atLogon = false;
};

class CommandLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(CommandLineTest, ParsesOurOptionsAndLeavesTheRestToQt) {
    const LineCase c = GetParam();
    const CommandLine line = ParseCommandLine(c.arguments);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.pointer, c.pointer);
    EXPECT_EQ(line.atLogon, c.atLogon);
    EXPECT_EQ(line.error.empty(), c.action != CommandLine::Action::Fail) << line.error;
}

using Action = CommandLine::Action;
INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(
        LineCase{"Nothing", {}, Action::Run, kAutoPointer},
        LineCase{"Equals", {"--pointer=uinput"}, Action::Run, Backend::Uinput},
        LineCase{"Separate", {"--pointer", "wlroots"}, Action::Run, Backend::Wlroots},
        LineCase{"Portal", {"--pointer=portal"}, Action::Run, Backend::Portal},
        LineCase{"LastCounts", {"--pointer=x11", "--pointer=auto"}, Action::Run, kAutoPointer},
        LineCase{"QtOptions", {"-platform", "wayland", "--pointer=x11"}, Action::Run, Backend::X11},
        LineCase{"UnknownValue", {"--pointer=mir"}, Action::Fail, kAutoPointer},
        LineCase{"CaseMatters", {"--pointer=X11"}, Action::Fail, kAutoPointer},
        LineCase{"EmptyValue", {"--pointer="}, Action::Fail, kAutoPointer},
        LineCase{"MissingValue", {"--pointer"}, Action::Fail, kAutoPointer},
        LineCase{"NotAPrefix", {"--pointers=x11"}, Action::Fail, kAutoPointer},
        LineCase{"Misspelt", {"--pointr=wlroots"}, Action::Fail, kAutoPointer},
        LineCase{"QtTwoDashes",
                 {"--platform", "x", "--style=y", "--reverse"},
                 Action::Run,
                 kAutoPointer},
        LineCase{"QtValue", {"-title", "--odd", "--pointer=x11"}, Action::Run, Backend::X11},
        LineCase{"QtFlagHasNoValue", {"--reverse=yes"}, Action::Fail, kAutoPointer},
        LineCase{"QtTakesNoEquals", {"--display=:2"}, Action::Fail, kAutoPointer},
        LineCase{"AfterDoubleDash", {"--", "--anything", "--at-logon"}, Action::Run, kAutoPointer},
        LineCase{"AtLogon", {"--at-logon", "--pointer=x11"}, Action::Run, Backend::X11, true},
        LineCase{"AtLogonTakesNoValue", {"--at-logon=yes"}, Action::Fail, kAutoPointer},
        LineCase{"Help", {"--pointer=bad", "-h"}, Action::ShowHelp, kAutoPointer},
        LineCase{"HelpBeforeVersion", {"--version", "--help"}, Action::ShowHelp, kAutoPointer},
        LineCase{"Version", {"--version"}, Action::ShowVersion, kAutoPointer}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLineTest, UsageNamesEveryValue) {
    const std::string usage = UsageText("vantrel");
    for (const char* value : {"auto", "x11", "wlroots", "uinput", "portal"})
        EXPECT_NE(usage.find(std::string("--pointer=") + value), std::string::npos) << value;
    EXPECT_NE(usage.find(kAtLogonOption), std::string::npos);
}

}  // namespace
}  // namespace vantrel
