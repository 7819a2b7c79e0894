// The Linux backends: SDL2 joysticks with wake-ups from their device nodes and udev, the
// pointer output chosen for the session (XTest, the wlroots virtual pointer, uinput or the
// RemoteDesktop portal), the XDG autostart entry, a lock file for the instance test and the Unix
// termination signals.
#include <QCoreApplication>
#include <QString>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/PlatformBackends.h"
#include "core/settings/SettingsFile.h"
#include "platform/desktop/xdg/XdgAutostart.h"
#include "platform/joystick/sdl/SdlJoysticks.h"
#include "platform/pointer/portal/PortalPointer.h"
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

// XTest moved by distances, for an engine that has been sending distances to an output that
// was lost: each move reads the pointer, places it and waits until the server has done so.
class XTestByDistance : public RelativePointerPort, public MouseButtonPort {
  public:
    bool MoveBy(std::int32_t dx, std::int32_t dy) override {
        ScreenPoint at;
        return x11_.QueryPosition(at) && x11_.PlaceAt(at.x + dx, at.y + dy) && x11_.Sync();
    }
    void Send(MouseButtonEvent event) override { x11_.Send(event); }

  private:
    X11Pointer x11_;
};

// What the engine talks to when the output may be lost while the program runs: the portal,
// then, once the desktop refuses or ends the session, XTest through XWayland.
class FallbackPointer : public RelativePointerPort, public MouseButtonPort {
  public:
    FallbackPointer(RelativePointerPort& pointer, MouseButtonPort& buttons)
        : pointer_(&pointer), buttons_(&buttons) {}
    void FallBack() {
        XTestByDistance& next = fallback_.emplace();
        pointer_ = &next, buttons_ = &next;
    }

    bool MoveBy(std::int32_t dx, std::int32_t dy) override { return pointer_->MoveBy(dx, dy); }
    void Send(MouseButtonEvent event) override { buttons_->Send(event); }

  private:
    std::optional<XTestByDistance> fallback_;
    RelativePointerPort* pointer_;
    MouseButtonPort* buttons_;
};

}  // namespace

// The pointer output and the buttons: one of the four, made once and kept while the program
// runs (the uinput device, the virtual pointer and the portal's session leave the desktop when
// it ends).
struct PointerOutputs {
    PointerOutputs(PointerRequest request, const std::filesystem::path& settingsFile) {
        // Each probe makes the output it asks about, so the one chosen is ready at once; the
        // portal only answers whether it is there, as its session asks the person.
        const PointerProbes probes{
            .virtualPointerOffered = [this] { return wlroots.emplace().Ready(); },
            .uinputWritable = [this] { return uinput.emplace().Ready(); },
            .portalOffered = [] { return PortalPointerOffered(); },
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
            case PointerBackend::Portal:
                wlroots.reset();
                uinput.reset();
                portal.emplace(settingsFile.parent_path() / "Vantrel-portal.token",
                               [this](PortalPointer::Loss loss) { OnPortalLost(loss); });
                pointer.emplace(fallback.emplace(*portal, *portal)), buttons = &*fallback;
                break;
            case PointerBackend::X11:
                wlroots.reset();
                uinput.reset();
                pointer.emplace(x11.emplace()), buttons = &*x11;
                break;
        }
    }

    void OnPortalLost(PortalPointer::Loss loss) {
        fallback->FallBack();
        if (fallenBack)
            fallenBack(loss == PortalPointer::Loss::Refused ? TextId::PortalRefused
                                                            : TextId::PortalClosed);
    }

    std::optional<WaylandVirtualPointer> wlroots;
    std::optional<UinputPointer> uinput;
    std::optional<X11Pointer> x11;
    std::optional<PortalPointer> portal;
    std::optional<FallbackPointer> fallback;
    std::optional<PointerOutput> pointer;
    MouseButtonPort* buttons = nullptr;
    PointerChoice choice;
    std::function<void(TextId)> fallenBack;
};

struct PlatformBackends::Parts {
    Parts(const ProgramLocation& location, PointerRequest request)
        : outputs(request, SettingsPath(location.folder)),
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

void PlatformBackends::OnPointerFallback(std::function<void(TextId)> tell) {
    parts_->outputs.fallenBack = std::move(tell);
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
