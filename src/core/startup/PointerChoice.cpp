#include "core/startup/PointerChoice.h"

#include "core/text/CaptionText.h"

namespace vantrel {

namespace {

bool IsX11Session(const PointerSession& session) {
    if (session.sessionType == "x11") return true;
    if (session.sessionType == "wayland") return false;
    return session.hasDisplay && !session.hasWaylandDisplay;
}

bool IsWaylandSession(const PointerSession& session) {
    return !IsX11Session(session) &&
           (session.sessionType == "wayland" || session.hasWaylandDisplay);
}

bool Probe(const std::function<bool()>& probe) {
    return probe && probe();
}

X11Reach ProbeX11(const PointerProbes& probes) {
    return probes.x11 ? probes.x11() : X11Reach::NoDisplay;
}

}  // namespace

PointerChoice ChoosePointer(const PointerSession& session, PointerRequest request,
                            const PointerProbes& probes) {
    using Notice = PointerChoice::Notice;
    switch (request) {
        case PointerRequest::X11:
            switch (ProbeX11(probes)) {
                case X11Reach::Ready:
                    return {PointerBackend::X11, Notice::None};
                case X11Reach::NoXTest:
                    return {PointerBackend::X11, Notice::RequestedWithoutXTest};
                case X11Reach::NoDisplay:
                    return {PointerBackend::X11, Notice::RequestedUnavailable};
            }
            break;
        case PointerRequest::Wlroots:
            if (Probe(probes.virtualPointerOffered)) return {PointerBackend::Wlroots, Notice::None};
            return {PointerBackend::X11, Notice::RequestedUnavailable};
        case PointerRequest::Uinput:
            if (Probe(probes.uinputWritable)) return {PointerBackend::Uinput, Notice::None};
            return {PointerBackend::X11, Notice::RequestedUnavailable};
        case PointerRequest::Portal:
            if (Probe(probes.portalOffered)) return {PointerBackend::Portal, Notice::None};
            return {PointerBackend::X11, Notice::RequestedUnavailable};
        case PointerRequest::Auto:
            break;
    }
    if (IsX11Session(session)) {
        const bool xtest = ProbeX11(probes) != X11Reach::NoXTest;
        return {PointerBackend::X11, xtest ? Notice::None : Notice::XTestMissing};
    }
    if (IsWaylandSession(session)) {
        if (Probe(probes.virtualPointerOffered)) return {PointerBackend::Wlroots, Notice::None};
        if (Probe(probes.uinputWritable)) return {PointerBackend::Uinput, Notice::None};
        if (Probe(probes.portalOffered)) return {PointerBackend::Portal, Notice::None};
        return {PointerBackend::X11, Notice::XWaylandOnly};
    }
    // No display at all: only uinput can reach the console's pointer.
    if (Probe(probes.uinputWritable)) return {PointerBackend::Uinput, Notice::None};
    return {PointerBackend::X11, Notice::None};
}

std::string XWaylandOnlyText(const LangText& texts) {
    return ParagraphBreaks(texts[TextId::XWaylandWarning]);
}

std::string PartialOutputText(PointerChoice::Notice notice, const LangText& texts) {
    switch (notice) {
        case PointerChoice::Notice::XWaylandOnly:
            return XWaylandOnlyText(texts);
        case PointerChoice::Notice::XTestMissing:
            return texts[TextId::XTestMissing];
        default:
            return {};
    }
}

std::string RequestedUnavailableText(PointerRequest request, PointerChoice::Notice notice) {
    if (notice == PointerChoice::Notice::RequestedWithoutXTest)
        return "--pointer=x11: the X server lacks the XTEST extension, so no mouse button "
               "could be clicked.";
    switch (request) {
        case PointerRequest::Wlroots:
            return "--pointer=wlroots: the compositor offers no virtual pointer "
                   "(zwlr_virtual_pointer_manager_v1), or WAYLAND_DISPLAY names none.";
        case PointerRequest::Uinput:
            return "--pointer=uinput: /dev/uinput cannot be opened for writing, or the kernel "
                   "refused the device; see \"scripts/install --uinput-rule\" in README.md.";
        case PointerRequest::Portal:
            return "--pointer=portal: the session bus has no RemoteDesktop portal that offers a "
                   "pointer (org.freedesktop.portal.Desktop).";
        case PointerRequest::X11:
            return "--pointer=x11: no X display can be opened (DISPLAY, or Qt's -display).";
        case PointerRequest::Auto:
            break;
    }
    return {};
}

}  // namespace vantrel
