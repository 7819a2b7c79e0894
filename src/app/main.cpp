// Vantrel: drives the mouse pointer with a joystick. Builds the platform's backends, hands them
// to the hidden main window and runs the event loop.
#include <QApplication>
#include <QCoreApplication>

#include "app/PlatformBackends.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtHttpFetch.h"
#include "platform/qt/QtLocale.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtOpener.h"
#include "platform/qt/QtProcessLauncher.h"
#include "ui/TrayApplication.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantrel");
    QApplication::setQuitOnLastWindowClosed(false);  // closing a dialog never ends the program

    const vantrel::ProgramLocation location{
        .folder = QCoreApplication::applicationDirPath().toStdU16String(),
        .executable = QCoreApplication::applicationFilePath().toStdU16String(),
    };

    vantrel::PlatformBackends platform(location);
    vantrel::QtMessageBox messageBoxes;
    vantrel::QtLocale locale;
    vantrel::QtFileDialog fileDialog(nullptr);
    vantrel::QtOpener opener;
    vantrel::QtHttpFetch http;
    vantrel::QtProcessLauncher launcher;

    vantrel::ProgramState state;
    vantrel::TrayApplication window(
        state,
        {
            .joystick = platform.Joystick(),
            .pointer = platform.Pointer(),
            .buttons = platform.Buttons(),
            .messageBoxes = messageBoxes,
            .runEntry = platform.RunEntry(),
            .locale = locale,
            .fileDialog = fileDialog,
            .opener = opener,
            .http = http,
            .launcher = launcher,
            .manifestPlatform = platform.ManifestPlatform(),
            .anotherInstanceRunning = [&] { return platform.AnotherInstanceRunning(); },
            .wake = &platform.Wake(),
        },
        location);

    window.Initialize();
    const vantrel::StartOutcome outcome = window.Start();
    if (outcome != vantrel::StartOutcome::Running) return vantrel::ExitStatus(outcome);

    platform.ConnectShutdown(window, app);
    return app.exec();
}
