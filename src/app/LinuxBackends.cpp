// The Linux backends: SDL2 joysticks with wake-ups from their device nodes and udev, the
// pointer output chosen for the session (XTest, the wlroots virtual pointer or uinput), the XDG
// autostart entry, a lock file for the instance test and the Unix termination signals.
#include <QCoreApplication>
#include <QString>

#include <cstdlib>
#include <optional>

#include "app/PlatformBackends.h"
#include "platform/qt/QtInstanceLock.h"
#include "platform/qt/UnixSignals.h"
#include "platform/sdl/SdlJoysticks.h"
#include "platform/udev/UdevWakeSource.h"
#include "platform/uinput/UinputPointer.h"
#include "platform/wayland/WaylandVirtualPointer.h"
#include "platform/x11/X11Pointer.h"
#include "platform/xdg/XdgAutostart.h"
#include "platform/xdg/XdgUserFolders.h"
#include "ui/TrayApplication.h"

namespace vantrel {

namespace {

bool VariableSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

PointerSession SessionFromEnvironment() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return {.sessionType = type != nullptr ? type : "",
            .hasDisplay = VariableSet("DISPLAY"),
            .hasWaylandDisplay = VariableSet("WAYLAND_DISPLAY")};
}

}  // namespace

FileLocations PlatformFileLocations(const std::filesystem::path& programFolder) {
    // A packaged program never writes its folder, not even run by root: the package manager
    // owns every file there and would leave a stranger behind at removal.
    constexpr bool kSystemInstall = VANTREL_SYSTEM_INSTALL;
    const bool writable = !kSystemInstall && FolderWritable(programFolder);
    return ChooseFileLocations(programFolder, writable, XdgUserFolders());
}

// The pointer output and the buttons: one of the three, made once and kept while the program
// runs (the uinput device and the virtual pointer leave the desktop when it ends).
struct PointerOutputs {
    explicit PointerOutputs(PointerRequest request) {
        // Each probe makes the output it asks about, so the one chosen is ready at once.
        const PointerProbes probes{
            .virtualPointerOffered = [this] { return wlroots.emplace().Ready(); },
            .uinputWritable = [this] { return uinput.emplace().Ready(); },
        };
        choice = ChoosePointer(SessionFromEnvironment(), request, probes);
        switch (choice.backend) {
            case PointerBackend::Wlroots:
                pointer = &*wlroots, buttons = &*wlroots;
                uinput.reset();
                break;
            case PointerBackend::Uinput:
                pointer = &*uinput, buttons = &*uinput;
                wlroots.reset();
                break;
            case PointerBackend::X11:
                wlroots.reset();
                uinput.reset();
                pointer = &x11.emplace(), buttons = &*x11;
                break;
        }
    }

    std::optional<WaylandVirtualPointer> wlroots;
    std::optional<UinputPointer> uinput;
    std::optional<X11Pointer> x11;
    PointerPort* pointer = nullptr;
    MouseButtonPort* buttons = nullptr;
    PointerChoice choice;
};

struct PlatformBackends::Parts {
    Parts(const ProgramLocation& location, PointerRequest request)
        : outputs(request),
          wake([this](int id) { return joysticks.DeviceNode(id); },
               UdevWakeSource::DeviceManagerRunning()),
          instanceLock(QString::fromStdString(location.BaseName())) {}

    SdlJoysticks joysticks;
    PointerOutputs outputs;
    UdevWakeSource wake;
    XdgAutostart autostart;
    NoManifestPlatform manifestPlatform;
    QtInstanceLock instanceLock;
    // Made only once the program runs: until then a signal ends it the default way.
    std::unique_ptr<UnixSignals> unixSignals;
};

PlatformBackends::PlatformBackends(const ProgramLocation& location, PointerRequest pointer)
    : parts_(std::make_unique<Parts>(location, pointer)), ports_{parts_->joysticks,
                                                                 *parts_->outputs.pointer,
                                                                 *parts_->outputs.buttons,
                                                                 parts_->autostart,
                                                                 parts_->manifestPlatform,
                                                                 parts_->wake} {}

PlatformBackends::~PlatformBackends() = default;

PointerChoice::Notice PlatformBackends::PointerNotice() const {
    return parts_->outputs.choice.notice;
}

bool PlatformBackends::AnotherInstanceRunning() {
    return parts_->instanceLock.AnotherInstanceRunning();
}

void PlatformBackends::ConnectShutdown(TrayApplication& window, QCoreApplication& app) {
    parts_->unixSignals = std::make_unique<UnixSignals>();
    window.ConnectShutdown(app);
    QObject::connect(parts_->unixSignals.get(), &UnixSignals::received, &app,
                     &QCoreApplication::quit);
}

}  // namespace vantrel
