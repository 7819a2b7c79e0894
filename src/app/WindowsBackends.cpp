// The Windows backends (src/platform/pointer/win32, joystick/winmm, windows): multimedia
// joysticks, cursor placement, SendInput buttons, the Run value, a named mutex for the instance
// test, the event that asks the program to end, and the manifest's attributes.
#include <QCoreApplication>
#include <QWinEventNotifier>

#include "app/PlatformBackends.h"
#include "platform/http/qt/QtHttpFetch.h"
#include "platform/joystick/winmm/WinJoysticks.h"
#include "platform/pointer/win32/WinMouseButtons.h"
#include "platform/pointer/win32/WinPointer.h"
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
    explicit Parts(const ProgramLocation& location)
        : programName(location.executable.stem().wstring()), instanceLock(programName) {}

    // Names the mutex and the end request. The wide name: a narrow one would pass through the
    // system code page.
    std::wstring programName;

    WinJoysticks joysticks;
    WinPointer pointer;
    WinMouseButtons buttons;
    WinRunEntry runEntry;
    WinManifestPlatform manifestPlatform;
    NoWakeSource wake;  // the multimedia joystick tells of no change
    WinInstanceLock instanceLock;
    QtHttpFetch http;
    // Made once the program runs; the notifier goes before the event it watches.
    std::unique_ptr<WinEndRequest> endRequest;
    std::unique_ptr<QWinEventNotifier> endNotifier;
};

PlatformBackends::PlatformBackends(const ProgramLocation& location, PointerRequest /*pointer*/)
    : parts_(std::make_unique<Parts>(location)), ports_{parts_->joysticks,        parts_->pointer,
                                                        parts_->buttons,          parts_->runEntry,
                                                        parts_->manifestPlatform, parts_->wake} {}

PlatformBackends::~PlatformBackends() = default;

void PlatformBackends::PrepareEnvironment() {}

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

HttpFetchPort& PlatformBackends::Http() {
    return parts_->http;
}

bool PlatformBackends::AnotherInstanceRunning() {
    return parts_->instanceLock.AnotherInstanceRunning();
}

void PlatformBackends::ConnectShutdown(TrayApplication& window, QCoreApplication& app) {
    // Logoff and shutdown arrive as the session's commitDataRequest and, when the system ends
    // the program, aboutToQuit: both are tied up here.
    window.ConnectShutdown(app);
    // The setup's request to end (before it updates or removes the program) ends it as Exit
    // does; exit(), as on Unix, also ends the loops of open boxes. Only the copy that runs
    // watches: a second copy ends at its start, before it gets here.
    parts_->endRequest = std::make_unique<WinEndRequest>(parts_->programName);
    if (parts_->endRequest->Handle() == nullptr) return;  // the setup then asks the user
    parts_->endNotifier = std::make_unique<QWinEventNotifier>(parts_->endRequest->Handle());
    QObject::connect(parts_->endNotifier.get(), &QWinEventNotifier::activated, &app,
                     [] { QCoreApplication::exit(0); });
}

}  // namespace vantrel
