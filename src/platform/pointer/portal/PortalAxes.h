// How the desktop behind the RemoteDesktop portal reads NotifyPointerAxis: the distance of one
// wheel notch and which way is down. Desktops disagree, and the portal says neither.
#pragma once

#include <string_view>

namespace vantrel {

struct PortalAxes {
    // NotifyPointerAxis's units for one notch: mutter takes 10 as one wheel step (its own
    // NotifyPointerAxisDiscrete step arrives as 10); KWin passes the value to clients as it is,
    // and its wheels, through libinput, report 15 a notch.
    double perNotch = 10.0;
    // The sign of a scroll down (content up is the other way): xdg-desktop-portal-kde negates
    // the vertical value on its way to KWin, the horizontal one it leaves.
    double down = 1.0;
    double right = 1.0;
};

// The axes for the desktops named in XDG_CURRENT_DESKTOP (a colon-separated list), which the
// portal also goes by when it picks its backend; GNOME's reading for any other desktop.
PortalAxes PortalAxesFor(std::string_view currentDesktops);

}  // namespace vantrel
