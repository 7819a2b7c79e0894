// The Linux backends: SDL2 joysticks with wake-ups from their device nodes and udev, the
// pointer output chosen for the session (XTest, the wlroots virtual pointer, uinput or the
// RemoteDesktop portal), the XDG autostart entry, a lock file for the instance test and the Unix
// termination signals.
#include <fcntl.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>

#include "app/PlatformBackends.h"
#include "app/QtDesktop.h"
#include "core/engine/FallbackPointer.h"
#include "core/settings/SettingsFile.h"
#include "platform/desktop/xdg/XdgAutostart.h"
#include "platform/desktop/xdg/XdgUserFolders.h"
#include "platform/http/qt/ChildHttpFetch.h"
#include "platform/joystick/sdl/SdlJoysticks.h"
#include "platform/pointer/portal/PortalPointer.h"
#include "platform/pointer/uinput/UinputPointer.h"
#include "platform/pointer/wlroots/WaylandResend.h"
#include "platform/pointer/wlroots/WaylandVirtualPointer.h"
#include "platform/pointer/xtest/X11Pointer.h"
#include "platform/pointer/xtest/XTestByDistance.h"
#include "platform/unix/QtInstanceLock.h"
#include "platform/unix/SessionBus.h"
#include "platform/unix/UnixSignals.h"
#include "platform/wake/udev/UdevWakeSource.h"
#include "ui/TrayApplication.h"

namespace vantrel {

namespace {

std::string EnvironmentText(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool VariableSet(const char* name) {
    return !EnvironmentText(name).empty();
}

PointerSession SessionFromEnvironment() {
    return {.sessionType = EnvironmentText("XDG_SESSION_TYPE"),
            .hasDisplay = VariableSet("DISPLAY"),
            .hasWaylandDisplay = VariableSet("WAYLAND_DISPLAY")};
}

// Qt's own X connection, when Qt runs on X11: the XTest output opens the same display, which
// may have come from -display rather than DISPLAY.
_XDisplay* QtX11Display() {
    const auto* x11 = qGuiApp != nullptr
                          ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                          : nullptr;
    return x11 != nullptr ? x11->display() : nullptr;
}

}  // namespace

FileLocations PlatformFileLocations(const std::filesystem::path& programFolder) {
    // A packaged program never writes its folder, not even run by root: the package manager
    // owns every file there and would leave a stranger behind at removal.
    constexpr bool kSystemInstall = VANTREL_SYSTEM_INSTALL;
    const bool writable = !kSystemInstall && FolderWritable(programFolder);
    return ChooseFileLocations(programFolder, writable, XdgUserFolders());
}

// The pointer output and the buttons: one of kPointerOutputs, made once and kept while the
// program runs (the uinput device, the virtual pointer and the portal's session leave the
// desktop when it ends). An output that can be lost while the program runs (the wlroots one,
// the portal) goes through a FallbackPointer, which then goes on, once, with the output its row
// names next.
struct PointerOutputs {
    PointerOutputs(PointerRequest request, const std::filesystem::path& settingsFile)
        : portalToken(settingsFile.parent_path() / "Vantrel-portal.token") {
        // Each probe makes the output it asks about, so the one chosen is ready at once; the
        // portal only answers whether it is there, as its session asks the person.
        const PointerProbes probes{
            .offered = [this](PointerBackend backend) { return Offered(backend); },
            .x11 = [this] { return x11.emplace(QtX11Display()).Reach(); },
        };
        choice = ChoosePointer(SessionFromEnvironment(), request, probes);
        if (choice.backend != PointerBackend::Wlroots) wlroots.reset();
        if (choice.backend != PointerBackend::Uinput) uinput.reset();
        switch (choice.backend) {
            case PointerBackend::Wlroots:
                KeepWithFallback({&*wlroots, &*wlroots, &*wlroots},
                                 [this] { return wlroots->Lost(); });
                resend.emplace(*wlroots, [this] { fallback->HandOverIfLost(); });
                break;
            case PointerBackend::Uinput:
                pointer.emplace(*uinput), buttons = &*uinput, scroll = &*uinput;
                break;
            case PointerBackend::Portal:
                portal.emplace(
                    portalToken, [this](PortalPointer::Loss loss) { OnPortalLost(loss); },
                    PortalAxesFor(EnvironmentText("XDG_CURRENT_DESKTOP")));
                KeepWithFallback({&*portal, &*portal, &*portal},
                                 [this] { return portalLoss.has_value(); });
                break;
            case PointerBackend::X11:
                if (!x11) x11.emplace(QtX11Display());
                pointer.emplace(*x11), buttons = &*x11, scroll = &*x11;
                break;
        }
    }

    bool Offered(PointerBackend backend) {
        switch (backend) {
            case PointerBackend::Wlroots:
                return wlroots.emplace().Ready();
            case PointerBackend::Uinput:
                return uinput.emplace().Ready();
            case PointerBackend::Portal:
                return PortalPointerOffered();
            case PointerBackend::X11:
                break;
        }
        return false;
    }

    void KeepWithFallback(FallbackPointer::Output first, std::function<bool()> lost) {
        fallback.emplace(first, FallbackPointer::Hooks{
                                    .firstLost = std::move(lost),
                                    .makeNext = [this] { return Next(choice.backend); },
                                    .announce = [this] { Tell(); },
                                });
        pointer.emplace(*fallback), buttons = &*fallback, scroll = &*fallback;
    }

    // What takes over from `lost`: the output its row names next, else that one's next. Only
    // uinput and XTest ever follow; XTest, moved by distances, is always there.
    FallbackPointer::Output Next(PointerBackend lost) {
        for (auto next = OutputInfo(lost).next; next == PointerBackend::Uinput;
             next = OutputInfo(*next).next) {
            if (uinput.emplace().Ready()) return {&*uinput, &*uinput, &*uinput};
            uinput.reset();
        }
        XTestByDistance& xtestNext = xtest.emplace(QtX11Display());
        return {&xtestNext, &xtestNext, &xtestNext};
    }

    void OnPortalLost(PortalPointer::Loss loss) {
        portalLoss = loss;
        if (fallback) fallback->HandOverIfLost();
    }

    void Tell() const {
        if (!fallenBack) return;
        if (!portalLoss) return fallenBack(TextId::PointerOutputLost);
        fallenBack(*portalLoss == PortalPointer::Loss::Refused ? TextId::PortalRefused
                                                               : TextId::PortalClosed);
    }

    std::filesystem::path portalToken;
    std::optional<WaylandVirtualPointer> wlroots;
    std::optional<UinputPointer> uinput;
    std::optional<X11Pointer> x11;
    std::optional<PortalPointer> portal;
    std::optional<PortalPointer::Loss> portalLoss;
    std::optional<XTestByDistance> xtest;
    std::optional<FallbackPointer> fallback;
    std::optional<WaylandResend> resend;
    std::optional<PointerOutput> pointer;
    MouseButtonPort* buttons = nullptr;
    ScrollPort* scroll = nullptr;  // none: the output chosen cannot scroll
    PointerChoice choice;
    std::function<void(TextId)> fallenBack;
};

struct PlatformBackends::Parts {
    Parts(const ProgramLocation& location, PointerRequest request)
        : outputs(request, location.Files().SettingsFile()),
          wake([this](int id) { return joysticks.DeviceNode(id); },
               UdevWakeSource::DeviceManagerRunning(),
               [this](int id) { return joysticks.ScrollAxisCodes(id); }),
          // One name whatever the executable is called: a renamed copy would otherwise run
          // beside the first, and both would drive the pointer.
          instanceLock(QStringLiteral("vantrel")) {}

    SdlJoysticks joysticks;
    PointerOutputs outputs;
    UdevWakeSource wake;
    XdgAutostart autostart;
    NoManifestPlatform manifestPlatform;
    QtInstanceLock instanceLock;
    ChildHttpFetch http;
    QtDesktop desktop;
    // Made just before the start's steps, the first of which may show a box; until then a
    // signal ends the program the default way.
    std::unique_ptr<UnixSignals> unixSignals;
};

PlatformBackends::PlatformBackends(const ProgramLocation& location, PointerRequest pointer)
    : parts_(std::make_unique<Parts>(location, pointer)),
      ports_{
          .joystick = parts_->joysticks,
          .pointer = *parts_->outputs.pointer,
          .buttons = *parts_->outputs.buttons,
          .messageBoxes = parts_->desktop.messageBoxes,
          .runEntry = parts_->autostart,
          .locale = parts_->desktop.locale,
          .fileDialog = parts_->desktop.fileDialog,
          .opener = parts_->desktop.opener,
          .http = parts_->http,
          .launcher = parts_->desktop.launcher,
          .manifestPlatform = parts_->manifestPlatform,
          .anotherInstanceRunning =
              [this] { return parts_->instanceLock.AnotherInstanceRunning(); },
          .wake = &parts_->wake,
          .scroll = parts_->outputs.scroll,
      } {}

PlatformBackends::~PlatformBackends() = default;

void PlatformBackends::PrepareEnvironment() {
    // A descriptor its starter left closed would go to the first file or connection opened
    // (the X connection, say), and every warning would be written into it.
    for (int fd = 0; fd <= 2; ++fd)
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF)
            static_cast<void>(::open("/dev/null", O_RDWR));  // the lowest free number: fd
    static_cast<void>(SkipHopelessBusLaunch());              // either way the start goes on
}

std::optional<std::filesystem::path> PlatformBackends::ProgramExecutable() {
    // The link's own bytes: Qt's path passes through a text conversion that loses a folder name
    // that is not UTF-8, and an empty folder would then be the current one.
    std::error_code ec;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || !executable.is_absolute()) return std::nullopt;
    return executable;
}

bool PlatformBackends::DisplayReachable(const DisplayCandidates& candidates,
                                        const std::string& x11Display) {
    return candidates.other || (candidates.x11 && X11Pointer::DisplayAnswers(x11Display)) ||
           (candidates.wayland && WaylandVirtualPointer::CompositorReachable());
}

PointerChoice::Notice PlatformBackends::PointerNotice() const {
    return parts_->outputs.choice.notice;
}

void PlatformBackends::OnPointerFallback(std::function<void(TextId)> tell) {
    parts_->outputs.fallenBack = std::move(tell);
}

std::optional<int> PlatformBackends::RunChildJob(int argc, char** argv) {
    return RunHttpFetchChild(argc, argv);
}

void PlatformBackends::CatchStopSignals(QCoreApplication& app) {
    parts_->unixSignals = std::make_unique<UnixSignals>();
    // exit(), not quit(): it ends the loops of open boxes too, whatever their windows say,
    // and the main loop with them; the shutdown runs on the way out. Queued, so a signal that
    // comes between two steps of the start ends the box that opens next, or the main loop.
    QObject::connect(parts_->unixSignals.get(), &UnixSignals::received, &app,
                     [&app] { QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); }); });
}

void PlatformBackends::ConnectShutdown(TrayApplication& window, QCoreApplication& app) {
    window.ConnectShutdown(app);
}

}  // namespace vantrel
