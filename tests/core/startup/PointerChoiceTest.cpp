#include <gtest/gtest.h>

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
};

const PointerSession kX11{"x11", true, false};
const PointerSession kWayland{"wayland", true, true};
const PointerSession kNoType{"", false, true};      // only WAYLAND_DISPLAY: Wayland
const PointerSession kNoTypeX{"", true, false};     // only DISPLAY: X11
const PointerSession kX11Typed{"x11", true, true};  // the session type wins
const PointerSession kConsole{"tty", false, false};
const PointerChoice kUnavailable{Backend::X11, Notice::RequestedUnavailable};

class PointerChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(PointerChoiceTest, PicksTheOutputAndAsksOnlyWhatItNeeds) {
    const ChoiceCase c = GetParam();
    std::string probed;
    const PointerProbes probes{
        .virtualPointerOffered = [&] { return probed += 'w', c.offered; },
        .uinputWritable = [&] { return probed += 'u', c.writable; },
        .portalOffered = [&] { return probed += 'p', c.portal; },
        .x11 = [&] { return probed += 'x', X11Reach::Ready; },
    };
    EXPECT_EQ(ChoosePointer(c.session, c.request, probes), c.expected);
    EXPECT_EQ(probed, c.probed);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, PointerChoiceTest,
    ::testing::Values(
        ChoiceCase{"X11", kX11, Request::Auto, true, true, {Backend::X11}, "x"},
        ChoiceCase{"DisplayOnly", kNoTypeX, Request::Auto, true, true, {Backend::X11}, "x"},
        ChoiceCase{"X11TypeWins", kX11Typed, Request::Auto, true, true, {Backend::X11}, "x"},
        ChoiceCase{"Wlroots", kWayland, Request::Auto, true, true, {Backend::Wlroots}, "w"},
        ChoiceCase{
            "WaylandDisplayOnly", kNoType, Request::Auto, true, false, {Backend::Wlroots}, "w"},
        ChoiceCase{"Uinput", kWayland, Request::Auto, false, true, {Backend::Uinput}, "wu"},
        ChoiceCase{"UinputMissingOrReadOnly",
                   kWayland,
                   Request::Auto,
                   false,
                   false,
                   {Backend::X11, Notice::XWaylandOnly},
                   "wup"},
        ChoiceCase{"Portal", kWayland, Request::Auto, false, false, {Backend::Portal}, "wup", true},
        ChoiceCase{
            "PortalNotOnConsole", kConsole, Request::Auto, false, false, {Backend::X11}, "u", true},
        ChoiceCase{"AskedPortal", kX11, Request::Portal, true, true, {Backend::Portal}, "p", true},
        ChoiceCase{"AskedPortalMissing", kWayland, Request::Portal, true, true, kUnavailable, "p"},
        ChoiceCase{"Console", kConsole, Request::Auto, true, true, {Backend::Uinput}, "u"},
        ChoiceCase{"ConsoleNoUinput", kConsole, Request::Auto, true, false, {Backend::X11}, "u"},
        ChoiceCase{"AskedX11", kWayland, Request::X11, true, true, {Backend::X11}, "x"},
        ChoiceCase{"AskedUinputOnX11", kX11, Request::Uinput, true, true, {Backend::Uinput}, "u"},
        ChoiceCase{"AskedUinputMissing",
                   kWayland,
                   Request::Uinput,
                   true,
                   false,
                   {Backend::X11, Notice::RequestedUnavailable},
                   "u"},
        ChoiceCase{
            "AskedWlroots", kWayland, Request::Wlroots, true, false, {Backend::Wlroots}, "w"},
        ChoiceCase{"AskedWlrootsMissing",
                   kWayland,
                   Request::Wlroots,
                   false,
                   true,
                   {Backend::X11, Notice::RequestedUnavailable},
                   "w"}),
    [](const auto& info) { return std::string(info.param.name); });

struct LineCase {
    const char* name;
    std::vector<std::string> arguments;
    CommandLine::Action action;
    Request pointer;
};

class CommandLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(CommandLineTest, ParsesOurOptionsAndLeavesTheRestToQt) {
    const LineCase c = GetParam();
    const CommandLine line = ParseCommandLine(c.arguments);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.pointer, c.pointer);
    EXPECT_EQ(line.error.empty(), c.action != CommandLine::Action::Fail) << line.error;
}

using Action = CommandLine::Action;
INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(
        LineCase{"Nothing", {}, Action::Run, Request::Auto},
        LineCase{"Equals", {"--pointer=uinput"}, Action::Run, Request::Uinput},
        LineCase{"Separate", {"--pointer", "wlroots"}, Action::Run, Request::Wlroots},
        LineCase{"Portal", {"--pointer=portal"}, Action::Run, Request::Portal},
        LineCase{"LastCounts", {"--pointer=x11", "--pointer=auto"}, Action::Run, Request::Auto},
        LineCase{"QtOptions", {"-platform", "wayland", "--pointer=x11"}, Action::Run, Request::X11},
        LineCase{"UnknownValue", {"--pointer=mir"}, Action::Fail, Request::Auto},
        LineCase{"CaseMatters", {"--pointer=X11"}, Action::Fail, Request::Auto},
        LineCase{"EmptyValue", {"--pointer="}, Action::Fail, Request::Auto},
        LineCase{"MissingValue", {"--pointer"}, Action::Fail, Request::Auto},
        LineCase{"NotAPrefix", {"--pointers=x11"}, Action::Fail, Request::Auto},
        LineCase{"Misspelt", {"--pointr=wlroots"}, Action::Fail, Request::Auto},
        LineCase{"QtTwoDashes",
                 {"--platform", "x", "--style=y", "--reverse"},
                 Action::Run,
                 Request::Auto},
        LineCase{"QtValue", {"-title", "--odd", "--pointer=x11"}, Action::Run, Request::X11},
        LineCase{"QtFlagHasNoValue", {"--reverse=yes"}, Action::Fail, Request::Auto},
        LineCase{"QtTakesNoEquals", {"--display=:2"}, Action::Fail, Request::Auto},
        LineCase{"AfterDoubleDash", {"--", "--anything"}, Action::Run, Request::Auto},
        LineCase{"Help", {"--pointer=bad", "-h"}, Action::ShowHelp, Request::Auto},
        LineCase{"HelpBeforeVersion", {"--version", "--help"}, Action::ShowHelp, Request::Auto},
        LineCase{"Version", {"--version"}, Action::ShowVersion, Request::Auto}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PointerChoiceTest, X11SessionWithoutXTestWarns) {
    const PointerProbes probes{{}, {}, {}, [] { return X11Reach::NoXTest; }};
    EXPECT_EQ(ChoosePointer(kX11, Request::Auto, probes).notice, Notice::XTestMissing);
}

TEST(CommandLineTest, UsageNamesEveryValue) {
    const std::string usage = UsageText("vantrel");
    for (const char* value : {"auto", "x11", "wlroots", "uinput", "portal"})
        EXPECT_NE(usage.find(std::string("--pointer=") + value), std::string::npos) << value;
}

}  // namespace
}  // namespace vantrel
