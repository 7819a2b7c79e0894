#include "core/startup/CommandLine.h"

#include <array>
#include <string_view>
#include <utility>

namespace vantrel {

namespace {

constexpr std::array<std::pair<std::string_view, PointerRequest>, 5> kPointerValues{{
    {"auto", PointerRequest::Auto},
    {"x11", PointerRequest::X11},
    {"wlroots", PointerRequest::Wlroots},
    {"uinput", PointerRequest::Uinput},
    {"portal", PointerRequest::Portal},
}};

bool ParsePointer(std::string_view value, PointerRequest& request) {
    for (const auto& [name, named] : kPointerValues)
        if (value == name) {
            request = named;
            return true;
        }
    return false;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    constexpr std::string_view kPointer = "--pointer";
    bool help = false, version = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument == kPointer || argument.starts_with("--pointer=")) {
            std::string_view value;
            if (argument == kPointer) {
                if (i + 1 == arguments.size()) {
                    line.action = CommandLine::Action::Fail;
                    line.error = "--pointer needs a value: auto, x11, wlroots, uinput or portal";
                    continue;
                }
                value = arguments[++i];
            } else {
                value = argument.substr(kPointer.size() + 1);
            }
            if (!ParsePointer(value, line.pointer)) {
                line.action = CommandLine::Action::Fail;
                line.error = "--pointer: unknown value \"" + std::string(value) +
                             "\" (auto, x11, wlroots, uinput or portal)";
            }
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
    return "Usage: " + programName +
           " [--pointer=auto|x11|wlroots|uinput|portal] [Qt options]\n"
           "Drives the mouse pointer with a joystick; lives in the notification area.\n"
           "\n"
           "  --pointer=auto     choose the pointer output from the session (default):\n"
           "                     X11 session: XTest; Wayland: the wlroots virtual pointer,\n"
           "                     else uinput, else the RemoteDesktop portal, else XTest\n"
           "                     through XWayland with a warning\n"
           "  --pointer=x11      XTest on the X display (DISPLAY)\n"
           "  --pointer=wlroots  the virtual pointer of wlroots compositors (sway, Hyprland ...)\n"
           "  --pointer=uinput   a uinput device; needs write access to /dev/uinput\n"
           "                     (scripts/install --uinput-rule)\n"
           "  --pointer=portal   the RemoteDesktop portal of GNOME and KDE Plasma: the desktop\n"
           "                     asks the person once (GNOME 43: at every start; GNOME 45+\n"
           "                     and Plasma 6 remember it; Plasma 5.27 only shows a notice)\n"
           "  -h, --help         show this text and exit\n"
           "  --version          show the version and exit\n";
}

}  // namespace vantrel
