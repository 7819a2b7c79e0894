// Vantrel: drives the mouse pointer with a joystick. Builds the Linux backends, hands them to the
// hidden main window and runs the event loop.
#include <QApplication>
#include <QCoreApplication>

#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtHttpFetch.h"
#include "platform/qt/QtInstanceLock.h"
#include "platform/qt/QtLocale.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtOpener.h"
#include "platform/qt/QtProcessLauncher.h"
#include "platform/qt/UnixSignals.h"
#include "platform/sdl/SdlJoysticks.h"
#include "platform/x11/X11Pointer.h"
#include "platform/xdg/XdgAutostart.h"
#include "settings/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantrel");
    QApplication::setQuitOnLastWindowClosed(false);  // closing a dialog never ends the program

    const vantrel::ProgramLocation location{
        .folder = QCoreApplication::applicationDirPath().toStdU16String(),
        .executable = QCoreApplication::applicationFilePath().toStdU16String(),
    };

    vantrel::SdlJoysticks joysticks;
    vantrel::X11Pointer pointer;
    vantrel::QtMessageBox messageBoxes;
    vantrel::XdgAutostart autostart;
    vantrel::QtLocale locale;
    vantrel::QtFileDialog fileDialog(nullptr);
    vantrel::QtOpener opener;
    vantrel::QtHttpFetch http;
    vantrel::QtProcessLauncher launcher;
    vantrel::NoManifestPlatform manifestPlatform;
    vantrel::QtInstanceLock instanceLock(QString::fromStdString(location.BaseName()));

    vantrel::ProgramState state;
    vantrel::MainWindow window(
        state,
        {
            .joystick = joysticks,
            .pointer = pointer,
            .buttons = pointer,
            .messageBoxes = messageBoxes,
            .runEntry = autostart,
            .locale = locale,
            .fileDialog = fileDialog,
            .opener = opener,
            .http = http,
            .launcher = launcher,
            .manifestPlatform = manifestPlatform,
            .anotherInstanceRunning = [&] { return instanceLock.AnotherInstanceRunning(); },
        },
        location);

    window.Form_Initialize();
    const vantrel::StartOutcome outcome = window.Form_Load();
    if (outcome != vantrel::StartOutcome::Running) return vantrel::ExitStatus(outcome);

    vantrel::UnixSignals unixSignals;
    window.ConnectShutdown(app, unixSignals);
    return app.exec();
}
