// The Linux backends: SDL2 joysticks with wake-ups from their device nodes and udev, the
// pointer output chosen for the session (XTest, the wlroots virtual pointer or uinput), the XDG
// autostart entry, a lock file for the instance test and the Unix termination signals.
#include <QCoreApplication>
#include <QString>

#include <cstdlib>
#include <optional>

#include "app/PlatformBackends.h"
#include "platform/desktop/xdg/XdgAutostart.h"
#include "platform/joystick/sdl/SdlJoysticks.h"
#include "platform/pointer/uinput/UinputPointer.h"
#include "platform/pointer/wlroots/WaylandVirtualPointer.h"
#include "platform/pointer/xtest/X11Pointer.h"
#include "platform/unix/QtInstanceLock.h"
#include "platform/unix/UnixSignals.h"
#include "platform/wake/udev/UdevWakeSource.h"
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
                pointer.emplace(*wlroots), buttons = &*wlroots;
                uinput.reset();
                break;
            case PointerBackend::Uinput:
                pointer.emplace(*uinput), buttons = &*uinput;
                wlroots.reset();
                break;
            case PointerBackend::X11:
                wlroots.reset();
                uinput.reset();
                pointer.emplace(x11.emplace()), buttons = &*x11;
                break;
        }
    }

    std::optional<WaylandVirtualPointer> wlroots;
    std::optional<UinputPointer> uinput;
    std::optional<X11Pointer> x11;
    std::optional<PointerOutput> pointer;
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
