#include "core/options/SettingsLinks.h"

#include <algorithm>
#include <cctype>

namespace vantrel {

namespace {

using Command = std::vector<std::string_view>;
using Commands = std::vector<Command>;

struct DesktopCommands {
    std::string_view desktop;  // lower case, as XDG_CURRENT_DESKTOP names it
    Commands mouse;
    Commands controller;
};

// Plasma 5 names the game-controller page kcm_joystick (opened by kcmshell5); Plasma 6 has
// kcm_gamecontroller in systemsettings. systemsettings opens kcm_mouse on both.
const Commands& PlasmaMouse() {
    static const Commands commands = {{"systemsettings", "kcm_mouse"},
                                      {"kcmshell6", "kcm_mouse"},
                                      {"kcmshell5", "kcm_mouse"},
                                      {"systemsettings5", "kcm_mouse"}};
    return commands;
}

const Commands& PlasmaController() {
    static const Commands commands = {{"kcmshell5", "kcm_joystick"},
                                      {"systemsettings", "kcm_gamecontroller"},
                                      {"kcmshell6", "kcm_gamecontroller"}};
    return commands;
}

const std::vector<DesktopCommands>& Desktops() {
    static const std::vector<DesktopCommands> desktops = {
        {"gnome", {{"gnome-control-center", "mouse"}}, {}},
        {"unity", {{"gnome-control-center", "mouse"}}, {}},
        {"budgie", {{"budgie-control-center", "mouse"}}, {}},
        {"x-cinnamon", {{"cinnamon-settings", "mouse"}}, {}},
        {"cinnamon", {{"cinnamon-settings", "mouse"}}, {}},
        {"kde", PlasmaMouse(), PlasmaController()},
        {"xfce", {{"xfce4-mouse-settings"}}, {}},
        {"mate", {{"mate-mouse-properties"}}, {}},
        {"lxqt", {{"lxqt-config-input"}}, {}},
        {"lxde", {{"lxinput"}}, {}},
    };
    return desktops;
}

// Tried after the running desktop's own: programs that also work elsewhere, the desktop-bound
// control centres last.
const Commands& AnyDesktop(SettingsLink link) {
    static const Commands mouse = [] {
        Commands c = {{"xfce4-mouse-settings"},
                      {"lxqt-config-input"},
                      {"mate-mouse-properties"},
                      {"lxinput"}};
        c.insert(c.end(), PlasmaMouse().begin(), PlasmaMouse().end());
        c.push_back({"gnome-control-center", "mouse"});
        return c;
    }();
    static const Commands controller = [] {
        Commands c = {{"jstest-gtk"}};
        c.insert(c.end(), PlasmaController().begin(), PlasmaController().end());
        return c;
    }();
    return link == SettingsLink::Mouse ? mouse : controller;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::vector<std::string> ToArgv(const Command& command) {
    return std::vector<std::string>(command.begin(), command.end());
}

std::vector<std::string> SplitOnSpaces(std::string_view line) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        if (end > start) parts.emplace_back(line.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

std::vector<std::string> DesktopLinkCommand(SettingsLink link, std::string_view currentDesktops,
                                            const ProgramExists& exists) {
    const auto firstExisting = [&](const Commands& commands) {
        for (const Command& command : commands) {
            if (exists && exists(std::string(command.front()))) return ToArgv(command);
        }
        return std::vector<std::string>{};
    };

    std::size_t start = 0;
    while (start <= currentDesktops.size()) {
        const std::size_t end = std::min(currentDesktops.find(':', start), currentDesktops.size());
        const std::string desktop = Lower(currentDesktops.substr(start, end - start));
        start = end + 1;
        for (const DesktopCommands& known : Desktops()) {
            if (known.desktop != desktop) continue;
            auto found =
                firstExisting(link == SettingsLink::Mouse ? known.mouse : known.controller);
            if (!found.empty()) return found;
        }
    }
    return firstExisting(AnyDesktop(link));
}

std::string WindowsLinkCommandLine(SettingsLink link) {
    return link == SettingsLink::Mouse ? "rundll32 shell32,Control_RunDLL main.cpl,,2"
                                       : "rundll32 shell32,Control_RunDLL joy.cpl";
}

std::vector<std::string> WindowsLinkCommand(SettingsLink link) {
    // No part holds a blank, so the launcher joins them back into the same command line.
    return SplitOnSpaces(WindowsLinkCommandLine(link));
}

bool OpenSettingsLink(SettingsLink link, ProcessLauncherPort& launcher,
                      std::string_view currentDesktops, const ProgramExists& exists) {
#ifdef _WIN32
    static_cast<void>(currentDesktops);
    static_cast<void>(exists);
    const std::vector<std::string> argv = WindowsLinkCommand(link);
#else
    const std::vector<std::string> argv = DesktopLinkCommand(link, currentDesktops, exists);
#endif
    if (argv.empty()) return false;  // no settings program on this system: the link does nothing
    return launcher.StartDetached(argv);
}

}  // namespace vantrel
