// Vantrel: drives the mouse pointer with a joystick. Wires the Linux backends into the hidden
// main window and runs the event loop.
#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <filesystem>

#include "engine/JoystickDiscovery.h"
#include "platform/qt/UnixSignals.h"
#include "platform/sdl/SdlJoysticks.h"
#include "platform/x11/X11Pointer.h"
#include "settings/MainWindow.h"
#include "settings/Settings.h"
#include "settings/SettingsFile.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // the window is never shown
    const std::filesystem::path folder = QCoreApplication::applicationDirPath().toStdU16String();

    vantrel::SdlJoysticks joysticks;
    vantrel::X11Pointer pointer;
    const int joystickCount = vantrel::CountJoysticks(joysticks);

    vantrel::Settings settings;
    const std::filesystem::path settingsFile = vantrel::SettingsPath(folder);
    vantrel::LoadSettings(settingsFile, settings);

    if (joystickCount == 0) {
        std::fputs("vantrel: no joystick found\n", stderr);
        return 1;
    }

    vantrel::MainWindow window(joysticks, pointer, pointer, settings, joystickCount);
    window.StartPolling();

    vantrel::UnixSignals unixSignals;
    QObject::connect(&unixSignals, &vantrel::UnixSignals::received, &app, &QCoreApplication::quit);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&] {
        // An unwritable folder leaves the old file; nothing to tell the user.
        const bool saved = vantrel::SaveSettings(settingsFile, settings);
        static_cast<void>(saved);
    });
    return app.exec();
}
