#include "core/startup/CommandLine.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

namespace vantrel {

namespace {

constexpr std::string_view kAutoName = "auto";

bool ParsePointer(std::string_view value, PointerRequest& request) {
    if (value == kAutoName) {
        request = kAutoPointer;
        return true;
    }
    for (const PointerOutputInfo& output : kPointerOutputs)
        if (value == output.name) {
            request = output.backend;
            return true;
        }
    return false;
}

// "auto, x11, ... or portal", or with `separator` between every two: the values --pointer takes.
std::string PointerValues(std::string_view separator = {}) {
    std::string text(kAutoName);
    for (std::size_t i = 0; i < kPointerOutputs.size(); ++i) {
        const bool last = i + 1 == kPointerOutputs.size();
        text += separator.empty() ? (last ? " or " : ", ") : separator;
        text += kPointerOutputs[i].name;
    }
    return text;
}

// Qt's own options, which Qt also takes with two dashes. Those with a value take the next
// argument; style, stylesheet and qmljsdebugger also take it as "-name=value".
enum class QtValue : std::uint8_t { None, Next, NextOrEquals };
struct QtOption {
    std::string_view name;
    QtValue value;
};
constexpr std::array<QtOption, 23> kQtOptions{{
    {"platform", QtValue::Next},
    {"platformpluginpath", QtValue::Next},
    {"platformtheme", QtValue::Next},
    {"plugin", QtValue::Next},
    {"qwindowgeometry", QtValue::Next},
    {"geometry", QtValue::Next},
    {"qwindowtitle", QtValue::Next},
    {"title", QtValue::Next},
    {"qwindowicon", QtValue::Next},
    {"icon", QtValue::Next},
    {"session", QtValue::Next},
    {"display", QtValue::Next},
    {"name", QtValue::Next},
    {"visual", QtValue::Next},
    {"style", QtValue::NextOrEquals},
    {"stylesheet", QtValue::NextOrEquals},
    {"qmljsdebugger", QtValue::NextOrEquals},
    {"reverse", QtValue::None},
    {"testability", QtValue::None},
    {"widgetcount", QtValue::None},
    {"nograb", QtValue::None},
    {"dograb", QtValue::None},
    {"sync", QtValue::None},
}};

// "-name" or "--name", or "-name=value" where Qt takes that.
const QtOption* FindQtOption(std::string_view argument) {
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    const std::size_t equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    for (const QtOption& option : kQtOptions)
        if (option.name == name &&
            (equals == std::string_view::npos || option.value == QtValue::NextOrEquals))
            return &option;
    return nullptr;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    constexpr std::string_view kPointer = "--pointer";
    bool help = false, version = false, optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            help = true;
        } else if (!argument.starts_with('-') || argument == "-") {
            // Not an option: Qt leaves such words alone, and so do we.
        } else if (const QtOption* qt = FindQtOption(argument)) {
            // The value is Qt's, even when it starts with "--"; the display and platform
            // are remembered, so the program checks the display Qt is going to open.
            std::string_view value;
            if (const auto equals = argument.find('='); equals != std::string_view::npos)
                value = argument.substr(equals + 1);
            else if (qt->value != QtValue::None && i + 1 < arguments.size())
                value = arguments[++i];
            if (qt->name == "display") line.qtDisplay = value;
            if (qt->name == "platform") line.qtPlatform = value;
        } else if (optionsEnded || !argument.starts_with("--")) {
            // Single-dash words Qt does not know it ignores too; after "--" nothing is ours.
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument == kAtLogonOption) {
            line.atLogon = true;
        } else if (argument == kPointer || argument.starts_with("--pointer=")) {
            std::string_view value;
            if (argument == kPointer) {
                if (i + 1 == arguments.size()) {
                    line.action = CommandLine::Action::Fail;
                    line.error = "--pointer needs a value: " + PointerValues();
                    continue;
                }
                value = arguments[++i];
            } else {
                value = argument.substr(kPointer.size() + 1);
            }
            if (!ParsePointer(value, line.pointer)) {
                line.action = CommandLine::Action::Fail;
                line.error = "--pointer: unknown value \"" + std::string(value) + "\" (" +
                             PointerValues() + ")";
            }
        } else {
            line.action = CommandLine::Action::Fail;
            line.error = "unknown option " + std::string(argument);
        }
    }
    // Asking for help or the version never fails: that is how a wrong option gets looked up.
    if (help || version) {
        line.action = help ? CommandLine::Action::ShowHelp : CommandLine::Action::ShowVersion;
        line.error.clear();
    }
    return line;
}

std::string UsageText(const std::string& programName) {
    std::string text =
        "Usage: " + programName + " [--pointer=" + PointerValues("|") +
        "] [--at-logon] [Qt options]\n"
        "Drives the mouse pointer with a joystick; lives in the notification area.\n"
        "\n"
        "  --pointer=auto     choose the pointer output from the session (default):\n"
        "                     X11 session: XTest; Wayland: the wlroots virtual pointer,\n"
        "                     else uinput, else the RemoteDesktop portal, else XTest\n"
        "                     through XWayland with a warning\n";
    constexpr std::size_t kDescriptionColumn = 21;
    for (const PointerOutputInfo& output : kPointerOutputs) {
        const std::string option = "  --pointer=" + std::string(output.name);
        text += option;
        text.append(option.size() < kDescriptionColumn ? kDescriptionColumn - option.size() : 1,
                    ' ');
        text += std::string(output.help) + "\n";
    }
    return text +
           "  --at-logon         started by the start-at-logon entry: without a joystick,\n"
           "                     wait for one in the notification area instead of ending\n"
           "  -h, --help         show this text and exit\n"
           "  --version          show the version and exit\n";
}

}  // namespace vantrel
