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

bool Offered(const PointerProbes& probes, PointerBackend backend) {
    return probes.offered && probes.offered(backend);
}

X11Reach ProbeX11(const PointerProbes& probes) {
    return probes.x11 ? probes.x11() : X11Reach::NoDisplay;
}

}  // namespace

PointerChoice ChoosePointer(const PointerSession& session, PointerRequest request,
                            const PointerProbes& probes) {
    using Notice = PointerChoice::Notice;
    if (request == PointerBackend::X11) {
        switch (ProbeX11(probes)) {
            case X11Reach::Ready:
                return {PointerBackend::X11, Notice::None};
            case X11Reach::NoXTest:
                return {PointerBackend::X11, Notice::RequestedWithoutXTest};
            case X11Reach::NoDisplay:
                break;
        }
        return {PointerBackend::X11, Notice::RequestedUnavailable};
    }
    if (request) {
        if (Offered(probes, *request)) return {*request, Notice::None};
        return {PointerBackend::X11, Notice::RequestedUnavailable};
    }
    if (IsX11Session(session)) {
        const bool xtest = ProbeX11(probes) != X11Reach::NoXTest;
        return {PointerBackend::X11, xtest ? Notice::None : Notice::XTestMissing};
    }
    if (IsWaylandSession(session)) {
        for (const PointerOutputInfo& output : kPointerOutputs)
            if (output.backend != PointerBackend::X11 && Offered(probes, output.backend))
                return {output.backend, Notice::None};
        return {PointerBackend::X11, Notice::XWaylandOnly};
    }
    // No display at all: only uinput can reach the console's pointer.
    if (Offered(probes, PointerBackend::Uinput)) return {PointerBackend::Uinput, Notice::None};
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
    if (!request) return {};
    const PointerOutputInfo& output = OutputInfo(*request);
    return "--pointer=" + std::string(output.name) + ": " + std::string(output.unavailable);
}

}  // namespace vantrel
