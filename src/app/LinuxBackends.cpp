// The Linux backends: SDL2 joysticks with wake-ups from their device nodes and udev, the X11
// pointer and XTest buttons, the XDG autostart entry, a lock file for the instance test and the
// Unix termination signals.
#include <QCoreApplication>
#include <QString>

#include "app/PlatformBackends.h"
#include "platform/qt/QtInstanceLock.h"
#include "platform/qt/UnixSignals.h"
#include "platform/sdl/SdlJoysticks.h"
#include "platform/udev/UdevWakeSource.h"
#include "platform/x11/X11Pointer.h"
#include "platform/xdg/XdgAutostart.h"
#include "ui/TrayApplication.h"

namespace vantrel {

struct PlatformBackends::Parts {
    explicit Parts(const ProgramLocation& location)
        : wake([this](int id) { return joysticks.DeviceNode(id); },
               UdevWakeSource::DeviceManagerRunning()),
          instanceLock(QString::fromStdString(location.BaseName())) {}

    SdlJoysticks joysticks;
    UdevWakeSource wake;
    X11Pointer pointer;  // also the buttons, through XTest
    XdgAutostart autostart;
    NoManifestPlatform manifestPlatform;
    QtInstanceLock instanceLock;
    // Made only once the program runs: until then a signal ends it the default way.
    std::unique_ptr<UnixSignals> unixSignals;
};

PlatformBackends::PlatformBackends(const ProgramLocation& location)
    : parts_(std::make_unique<Parts>(location)), ports_{parts_->joysticks,        parts_->pointer,
                                                        parts_->pointer,          parts_->autostart,
                                                        parts_->manifestPlatform, parts_->wake} {}

PlatformBackends::~PlatformBackends() = default;

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
