// Which program the two links of the options dialog start: the system's mouse settings and
// its game-controller settings.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/options/ProcessLauncherPort.h"

namespace vantrel {

enum class SettingsLink { Mouse, GameController };

// True when a program of that name can be found on the search path.
using ProgramExists = std::function<bool(const std::string& program)>;

// The first candidate whose program exists, for the desktops named in `currentDesktops`
// (XDG_CURRENT_DESKTOP: names separated by ':'), then programs that work on any desktop.
// Empty when none exists.
std::vector<std::string> DesktopLinkCommand(SettingsLink link, std::string_view currentDesktops,
                                            const ProgramExists& exists);

// The Windows control-panel command line of the link, as one text and split into argv.
std::string WindowsLinkCommandLine(SettingsLink link);
std::vector<std::string> WindowsLinkCommand(SettingsLink link);

// Starts the link's program for this platform (desktop lookup, or the control panel on
// Windows). False when there is none or it did not start; callers ignore that.
bool OpenSettingsLink(SettingsLink link, ProcessLauncherPort& launcher,
                      std::string_view currentDesktops, const ProgramExists& exists);

}  // namespace vantrel
