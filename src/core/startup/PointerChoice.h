// Which pointer output the program uses on Linux, from the session, what the desktop offers and
// the --pointer option; and the words shown when the choice needs explaining.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/text/LangText.h"

namespace vantrel {

enum class PointerBackend : std::uint8_t { X11, Wlroots, Uinput, Portal };
enum class PointerRequest : std::uint8_t { Auto, X11, Wlroots, Uinput, Portal };

struct PointerSession {
    std::string sessionType;  // XDG_SESSION_TYPE; empty when unset
    bool hasDisplay = false;  // DISPLAY set and not empty
    bool hasWaylandDisplay = false;
};

// Asked only when the rule needs the answer: each connects to the compositor or opens a device.
struct PointerProbes {
    std::function<bool()> virtualPointerOffered;
    std::function<bool()> uinputWritable;
    std::function<bool()> portalOffered;  // a RemoteDesktop portal with a pointer
};

struct PointerChoice {
    enum class Notice : std::uint8_t {
        None,
        // A Wayland session with no output of its own: XTest reaches only XWayland's windows.
        XWaylandOnly,
        // --pointer named an output that cannot start here; the program does not run.
        RequestedUnavailable,
    };
    PointerBackend backend = PointerBackend::X11;
    Notice notice = Notice::None;
    bool operator==(const PointerChoice&) const = default;
};

// X11 session (XDG_SESSION_TYPE=x11, or DISPLAY without WAYLAND_DISPLAY): XTest. Wayland
// session: the wlroots virtual pointer, else uinput, else the RemoteDesktop portal, else XTest
// with a warning. Neither
// display (a console): uinput when writable, else XTest as before. A request other than Auto
// is followed; X11 always starts, the others only when their probe says so.
PointerChoice ChoosePointer(const PointerSession& session, PointerRequest request,
                            const PointerProbes& probes);

// The warning for Notice::XWaylandOnly, on standard error and in a message box.
std::string XWaylandOnlyText(const LangText& texts);
// The error for Notice::RequestedUnavailable.
std::string RequestedUnavailableText(PointerRequest request);

}  // namespace vantrel
