#include "platform/pointer/portal/PortalAxes.h"

#include <array>
#include <utility>

namespace vantrel {

namespace {

// The desktops whose portal backends were seen scrolling a client (xdg-desktop-portal-kde 5.27
// with KWin, mutter 43 behind GNOME's way of calling it).
constexpr std::array<std::pair<std::string_view, PortalAxes>, 2> kDesktopAxes{{
    {"KDE", PortalAxes{.perNotch = 15.0, .down = -1.0, .right = 1.0}},
    {"GNOME", PortalAxes{}},
}};

}  // namespace

PortalAxes PortalAxesFor(std::string_view currentDesktops) {
    // The first name the portal finds a backend for wins, as in the portal's own choice.
    while (!currentDesktops.empty()) {
        const std::size_t colon = currentDesktops.find(':');
        const std::string_view name = currentDesktops.substr(0, colon);
        for (const auto& [desktop, axes] : kDesktopAxes)
            if (name == desktop) return axes;
        currentDesktops = colon == std::string_view::npos ? std::string_view{}
                                                          : currentDesktops.substr(colon + 1);
    }
    return PortalAxes{};
}

}  // namespace vantrel
