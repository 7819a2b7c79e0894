// The program's own command-line options (--pointer, --at-logon, --help, --version) and their
// texts. Qt's
// options are left to Qt; any other option with two dashes is refused, so a misspelt one is
// noticed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/startup/PointerChoice.h"

namespace vantrel {

// The argument the start-at-logon entry (the autostart file, the Run value) starts the program
// with: without a joystick the program then waits for one instead of ending.
inline constexpr std::string_view kAtLogonOption = "--at-logon";

struct CommandLine {
    enum class Action : std::uint8_t { Run, ShowHelp, ShowVersion, Fail };
    Action action = Action::Run;
    PointerRequest pointer = kAutoPointer;
    bool atLogon = false;  // kAtLogonOption was given
    std::string error;     // for Fail: what was wrong, one line
    // Qt's -display and -platform (or --display, --platform); empty when not given.
    std::string qtDisplay;
    std::string qtPlatform;
};

// `arguments` without the program name. --help / -h and --version win over everything else;
// --pointer=VALUE or --pointer VALUE, the last one counting. After "--" only Qt's options are
// read.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText(const std::string& programName);

}  // namespace vantrel
