// Vantrel: drives the mouse pointer with a joystick. Builds the platform's backends, hands them
// to the hidden main window and runs the event loop.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>

#include "app/PlatformBackends.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtHttpFetch.h"
#include "platform/qt/QtLocale.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtOpener.h"
#include "platform/qt/QtProcessLauncher.h"
#include "ui/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantrel");
    QApplication::setQuitOnLastWindowClosed(false);  // closing a dialog never ends the program

    // Qt hands out paths with "/"; the program's paths (the logon entry among them) are native.
    const vantrel::ProgramLocation location{
        .folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdU16String(),
        .executable =
            QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdU16String(),
    };

    vantrel::PlatformBackends platform(location);
    vantrel::QtMessageBox messageBoxes;
    vantrel::QtLocale locale;
    vantrel::QtFileDialog fileDialog(nullptr);
    vantrel::QtOpener opener;
    vantrel::QtHttpFetch http;
    vantrel::QtProcessLauncher launcher;

    vantrel::ProgramState state;
    vantrel::MainWindow window(
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
        },
        location);

    window.Form_Initialize();
    const vantrel::StartOutcome outcome = window.Form_Load();
    if (outcome != vantrel::StartOutcome::Running) return vantrel::ExitStatus(outcome);

    platform.ConnectShutdown(window, app);
    return app.exec();
}
