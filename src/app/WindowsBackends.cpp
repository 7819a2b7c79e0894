// The Windows backends (src/platform/pointer/win32, joystick/winmm, windows): multimedia
// joysticks, cursor placement, SendInput buttons and wheels, the Run value, a named mutex for the
// instance test, the event that asks the program to end, and the manifest's attributes.
#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <QWinEventNotifier>

#include "app/PlatformBackends.h"
#include "app/QtDesktop.h"
#include "platform/http/qt/QtHttpFetch.h"
#include "platform/joystick/winmm/WinJoysticks.h"
#include "platform/pointer/win32/WinMouseButtons.h"
#include "platform/pointer/win32/WinPointer.h"
#include "platform/pointer/win32/WinScroll.h"
#include "platform/windows/WinEndRequest.h"
#include "platform/windows/WinInstanceLock.h"
#include "platform/windows/WinManifestPlatform.h"
#include "platform/windows/WinRunEntry.h"
#include "platform/windows/WinUserFolders.h"
#include "ui/TrayApplication.h"

namespace vantrel {

FileLocations PlatformFileLocations(const std::filesystem::path& programFolder) {
    return ChooseFileLocations(programFolder, FolderWritable(programFolder), WinUserFolders());
}

struct PlatformBackends::Parts {
    // One name whatever the executable is called: a renamed copy would otherwise run beside
    // the first, and both would drive the pointer.
    explicit Parts(const ProgramLocation& /*location*/) : instanceLock(L"Vantrel") {}

    WinJoysticks joysticks;
    WinPointer pointer;
    WinMouseButtons buttons;
    WinScroll scroll;
    WinRunEntry runEntry;
    WinManifestPlatform manifestPlatform;
    NoWakeSource wake;  // the multimedia joystick tells of no change
    WinInstanceLock instanceLock;
    QtHttpFetch http;
    QtDesktop desktop;
    // Made before the start (CatchStopSignals); the notifier goes before the event it watches,
    // and the event before the mutex, so a setup that sees the mutex gone sees no event either.
    std::unique_ptr<WinEndRequest> endRequest;
    std::unique_ptr<QWinEventNotifier> endNotifier;
};

PlatformBackends::PlatformBackends(const ProgramLocation& location, PointerRequest /*pointer*/)
    : parts_(std::make_unique<Parts>(location)),
      ports_{
          .joystick = parts_->joysticks,
          .pointer = parts_->pointer,
          .buttons = parts_->buttons,
          .messageBoxes = parts_->desktop.messageBoxes,
          .runEntry = parts_->runEntry,
          .locale = parts_->desktop.locale,
          .fileDialog = parts_->desktop.fileDialog,
          .opener = parts_->desktop.opener,
          .http = parts_->http,
          .launcher = parts_->desktop.launcher,
          .manifestPlatform = parts_->manifestPlatform,
          .anotherInstanceRunning =
              [this] { return parts_->instanceLock.AnotherInstanceRunning(); },
          .wake = &parts_->wake,
          .scroll = &parts_->scroll,
      } {}

PlatformBackends::~PlatformBackends() = default;

void PlatformBackends::PrepareEnvironment() {}

std::optional<std::filesystem::path> PlatformBackends::ProgramExecutable() {
    // From GetModuleFileNameW, in UTF-16 throughout.
    const QString file = QCoreApplication::applicationFilePath();
    if (file.isEmpty()) return std::nullopt;
    return std::filesystem::path(QDir::toNativeSeparators(file).toStdWString());
}

bool PlatformBackends::DisplayReachable(const DisplayCandidates& /*candidates*/,
                                        const std::string& /*x11Display*/) {
    return true;
}

PointerChoice::Notice PlatformBackends::PointerNotice() const {
    return PointerChoice::Notice::None;
}

void PlatformBackends::OnPointerFallback(std::function<void(TextId)>) {
    // One output that is never lost: nothing to tell.
}

std::optional<int> PlatformBackends::RunChildJob(int, char**) {
    return std::nullopt;  // the fetches run in the program itself
}

void PlatformBackends::CatchStopSignals(QCoreApplication& app) {
    // Windows sends no stop signals: the setup's end request stands for them (the end of a
    // session comes as the session's own signals). As on Unix, exit() ends the loops of open
    // boxes too, queued so a request between two steps of the start ends the box that opens
    // next, or the main loop.
    parts_->endRequest = std::make_unique<WinEndRequest>();
    if (parts_->endRequest->Handle() == nullptr) return;  // the setup then asks the user
    parts_->endNotifier = std::make_unique<QWinEventNotifier>(parts_->endRequest->Handle());
    QWinEventNotifier* notifier = parts_->endNotifier.get();
    QObject::connect(notifier, &QWinEventNotifier::activated, &app, [&app, notifier] {
        notifier->setEnabled(false);  // the event stays set: one end is enough
        QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
    });
}

void PlatformBackends::ConnectShutdown(TrayApplication& window, QCoreApplication& app) {
    // Logoff and shutdown arrive as the session's commitDataRequest and, when the system ends
    // the program, aboutToQuit: both are tied up here.
    window.ConnectShutdown(app);
}

}  // namespace vantrel
