#include "core/startup/DesktopEntry.h"

#include <string>

#include "core/startup/CommandLine.h"

namespace vantrel {

namespace {

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

}  // namespace

std::string QuoteDesktopExecArgument(std::string_view argument) {
    const bool quote =
        argument.empty() || argument.find_first_of(kReserved) != std::string_view::npos;
    std::string out;
    if (quote) out += '"';
    for (const char c : argument) {
        if (c == '%') {
            out += "%%";
        } else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            out += '\\';
            out += c;
        } else {
            out += c;
        }
    }
    if (quote) out += '"';
    return out;
}

std::string EscapeDesktopString(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case ' ':
                // Readers strip blanks after '='; only a leading one needs saving.
                out += (i == 0) ? "\\s" : " ";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string AutostartDesktopEntry(const std::filesystem::path& executable) {
    std::string text;
    text += "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += "Name=Vantrel\n";
    text += "Comment=Drive the mouse pointer with a joystick\n";
    // The argument tells the program that logon started it: without a joystick it waits.
    text += "Exec=" + EscapeDesktopString(QuoteDesktopExecArgument(executable.string())) + " " +
            std::string(kAtLogonOption) + "\n";
    // Once the program is gone (a removed package keeps the user's files) the desktop skips
    // the entry instead of failing to start it at every logon.
    text += "TryExec=" + EscapeDesktopString(executable.string()) + "\n";
    text += "Terminal=false\n";
    text += "X-GNOME-Autostart-enabled=true\n";
    return text;
}

}  // namespace vantrel
