// Which pointer output the program uses on Linux, from the session, what the desktop offers and
// the --pointer option; and the words shown when the choice needs explaining.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/LangText.h"

namespace vantrel {

enum class PointerBackend : std::uint8_t { X11, Wlroots, Uinput, Portal };

// The outputs as the command line, --help and the messages know them. After XTest, in the order
// a Wayland session tries them; XTest is what is left when none of them starts.
struct PointerOutputInfo {
    PointerBackend backend;
    std::string_view name;         // --pointer=NAME
    std::string_view help;         // --help's lines for it
    std::string_view unavailable;  // why --pointer=NAME cannot start
    // What takes over when it is lost while the program runs, or when it cannot start in place
    // of a lost one; none: it is never lost.
    std::optional<PointerBackend> next;
};
inline constexpr std::array<PointerOutputInfo, 4> kPointerOutputs{{
    {PointerBackend::X11, "x11", "XTest on the X display (DISPLAY)",
     "no X display can be opened (DISPLAY, or Qt's -display).", std::nullopt},
    {PointerBackend::Wlroots, "wlroots",
     "the virtual pointer of wlroots compositors (sway, Hyprland ...)",
     "the compositor offers no virtual pointer (zwlr_virtual_pointer_manager_v1), or "
     "WAYLAND_DISPLAY names none.",
     // The portal serves GNOME and KDE, whose compositors have no virtual pointer to lose.
     PointerBackend::Uinput},
    {PointerBackend::Uinput, "uinput",
     "a uinput device; needs write access to /dev/uinput\n"
     "                     (scripts/install --uinput-rule)",
     "/dev/uinput cannot be opened for writing, or the kernel refused the device; see "
     "\"scripts/install --uinput-rule\" in README.md.",
     PointerBackend::X11},
    {PointerBackend::Portal, "portal",
     "the RemoteDesktop portal of GNOME and KDE Plasma: the desktop\n"
     "                     asks the person once (GNOME 43: at every start; GNOME 45+\n"
     "                     and Plasma 6 remember it; Plasma 5.27 only shows a notice)",
     "the session bus has no RemoteDesktop portal that offers a pointer "
     "(org.freedesktop.portal.Desktop).",
     PointerBackend::X11},
}};
constexpr const PointerOutputInfo& OutputInfo(PointerBackend backend) {
    return kPointerOutputs[static_cast<std::size_t>(backend)];
}

// --pointer: an output, or none for the automatic choice.
using PointerRequest = std::optional<PointerBackend>;
inline constexpr PointerRequest kAutoPointer = std::nullopt;
// What the X display offers the XTest output: clicks need the XTEST extension.
enum class X11Reach : std::uint8_t { Ready, NoXTest, NoDisplay };

struct PointerSession {
    std::string sessionType;  // XDG_SESSION_TYPE; empty when unset
    bool hasDisplay = false;  // DISPLAY set and not empty
    bool hasWaylandDisplay = false;
};

// Asked only when the rule needs the answer: each connects to the compositor or opens a device.
struct PointerProbes {
    // Whether the wlroots virtual pointer, uinput or a RemoteDesktop portal with a pointer can
    // start; none given: none can.
    std::function<bool(PointerBackend)> offered;
    std::function<X11Reach()> x11;  // none given: no display
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
// session: the outputs in kPointerOutputs' order (the wlroots virtual pointer, uinput, the
// RemoteDesktop portal), else XTest with a warning. Neither display (a console): uinput when
// writable, else XTest as before. A named output is followed when it starts; X11 needs a
// display with XTEST. An X11 session whose server lacks XTEST still moves the pointer, with a
// warning.
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
