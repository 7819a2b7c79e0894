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
// What the X display offers the XTest output: clicks need the XTEST extension.
enum class X11Reach : std::uint8_t { Ready, NoXTest, NoDisplay };

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
    std::function<X11Reach()> x11;        // none given: no display
};

struct PointerChoice {
    enum class Notice : std::uint8_t {
        None,
        // A Wayland session with no output of its own: XTest reaches only XWayland's windows.
        XWaylandOnly,
        // The X server lacks XTEST: the pointer moves, clicks are lost.
        XTestMissing,
        // --pointer named an output that cannot start here; the program does not run.
        RequestedUnavailable,
        // --pointer=x11 on an X server without XTEST; the program does not run.
        RequestedWithoutXTest,
    };
    PointerBackend backend = PointerBackend::X11;
    Notice notice = Notice::None;
    bool operator==(const PointerChoice&) const = default;
};

// X11 session (XDG_SESSION_TYPE=x11, or DISPLAY without WAYLAND_DISPLAY): XTest. Wayland
// session: the wlroots virtual pointer, else uinput, else the RemoteDesktop portal, else XTest
// with a warning. Neither
// display (a console): uinput when writable, else XTest as before. A request other than Auto
// is followed when its output starts; X11 needs a display with XTEST. An X11 session whose
// server lacks XTEST still moves the pointer, with a warning.
PointerChoice ChoosePointer(const PointerSession& session, PointerRequest request,
                            const PointerProbes& probes);

// The notices after which the program does not run.
inline bool StopsTheProgram(PointerChoice::Notice notice) {
    return notice == PointerChoice::Notice::RequestedUnavailable ||
           notice == PointerChoice::Notice::RequestedWithoutXTest;
}

// The warning for Notice::XWaylandOnly, on standard error and in a message box.
std::string XWaylandOnlyText(const LangText& texts);
// The warning for an output that works only in part (XWaylandOnly, XTestMissing); empty for
// the other notices.
std::string PartialOutputText(PointerChoice::Notice notice, const LangText& texts);
// The error for a fatal choice (Notice::RequestedUnavailable, RequestedWithoutXTest).
std::string RequestedUnavailableText(PointerRequest request, PointerChoice::Notice notice);

}  // namespace vantrel
