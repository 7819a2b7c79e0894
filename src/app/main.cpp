// Vantrel: drives the mouse pointer with a joystick. Builds the platform's backends, hands them
// to the tray application and runs the event loop.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/DisplayLoss.h"
#include "app/PlatformBackends.h"
#include "core/info/ProgramVersion.h"
#include "core/startup/CommandLine.h"
#include "core/startup/DisplayCheck.h"
#include "core/startup/RunEntry.h"
#include "core/text/LangText.h"
#include "platform/desktop/qt/QtFileDialog.h"
#include "platform/desktop/qt/QtLocale.h"
#include "platform/desktop/qt/QtMessageBox.h"
#include "platform/desktop/qt/QtOpener.h"
#include "platform/desktop/qt/QtProcessLauncher.h"
#include "ui/TrayApplication.h"

namespace {

// Exit statuses of the command line, as sysexits.h names them.
constexpr int kUsageError = 64;
constexpr int kOutputUnavailable = 69;  // no display, or the output asked for cannot start

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = vantrel::PlatformBackends::RunChildJob(argc, argv))
        return *status;
    // The command line is read before Qt starts, so --help and --version work without a display.
    const std::string programName =
        std::filesystem::path(argc > 0 ? argv[0] : "vantrel").filename().string();
    const vantrel::CommandLine commandLine =
        vantrel::ParseCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    switch (commandLine.action) {
        case vantrel::CommandLine::Action::ShowHelp:
            std::fputs(vantrel::UsageText(programName).c_str(), stdout);
            return 0;
        case vantrel::CommandLine::Action::ShowVersion:
            std::printf("%s %s\n", programName.c_str(),
                        vantrel::VersionNumberText(vantrel::OwnVersion()).c_str());
            return 0;
        case vantrel::CommandLine::Action::Fail:
            std::fprintf(stderr, "%s: %s\n%s", programName.c_str(), commandLine.error.c_str(),
                         vantrel::UsageText(programName).c_str());
            return kUsageError;
        case vantrel::CommandLine::Action::Run:
            break;
    }

    vantrel::PlatformBackends::PrepareEnvironment();
    // Qt aborts when it finds no display; tell the user in one line instead.
    if (!vantrel::PlatformBackends::DisplayReachable(
            vantrel::QtDisplayCandidates(commandLine.qtPlatform, Variable("QT_QPA_PLATFORM")),
            commandLine.qtDisplay)) {
        std::fprintf(stderr, "%s: %s\n", programName.c_str(), vantrel::NoDisplayText().c_str());
        return kOutputUnavailable;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantrel");
    QApplication::setQuitOnLastWindowClosed(false);  // closing a dialog never ends the program

    // Qt hands out paths with "/"; the program's paths (the logon entry among them) are native.
    vantrel::ProgramLocation location{
        .folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdU16String(),
        .executable =
            QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdU16String(),
    };
    location.files = vantrel::PlatformFileLocations(location.folder);
    // VANTREL_LAUNCHER: the link a system install puts on PATH; empty for every other build.
    location.logonCommand = vantrel::LogonCommand(location.executable, VANTREL_LAUNCHER);

    vantrel::PlatformBackends platform(location, commandLine.pointer);
    // An output asked for by --pointer that cannot start ends the program at once.
    if (vantrel::StopsTheProgram(platform.PointerNotice())) {
        std::fprintf(
            stderr, "%s: %s\n", programName.c_str(),
            vantrel::RequestedUnavailableText(commandLine.pointer, platform.PointerNotice())
                .c_str());
        return kOutputUnavailable;
    }
    vantrel::QtMessageBox messageBoxes;
    vantrel::ProgramState state;
    // Said once, in the user's language, after the event that caused it has been handled.
    platform.OnPointerFallback([&](vantrel::TextId line) {
        const std::string text = state.texts[line];
        std::fprintf(stderr, "%s: %s\n", programName.c_str(), text.c_str());
        QTimer::singleShot(0, &app, [&, text] {
            messageBoxes.Warning(state.texts[vantrel::TextId::MessageTitle], text);
        });
    });
    vantrel::QtLocale locale;
    vantrel::QtFileDialog fileDialog(nullptr);
    vantrel::QtOpener opener;
    vantrel::QtProcessLauncher launcher;

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
            .http = platform.Http(),
            .launcher = launcher,
            .manifestPlatform = platform.ManifestPlatform(),
            .anotherInstanceRunning = [&] { return platform.AnotherInstanceRunning(); },
            .wake = &platform.Wake(),
        },
        location);

    // The display can go at any moment, also during the start; settings exist to be saved once
    // the start has read them.
    bool running = false;
    const vantrel::DisplayLossWatch displayLoss([&] {
        if (!running) return true;
        const bool saved = window.SaveSettingsNow();
        window.Engine().ReleaseHeldButton();
        return saved;
    });
    window.Initialize();
    const vantrel::StartOutcome outcome = window.Start();
    running = outcome == vantrel::StartOutcome::Running;
    if (outcome != vantrel::StartOutcome::Running) return vantrel::ExitStatus(outcome);

    // From here every way out saves the settings: Exit, a stop signal, the end of the session
    // (which may only show as the display going away, see above).
    platform.ConnectShutdown(window, app);
    // An output that works only in part (XTest through XWayland, or without XTEST): said once
    // per start. The box opens inside the event loop, where a stop signal ends it with the
    // program.
    if (const std::string warning =
            vantrel::PartialOutputText(platform.PointerNotice(), state.texts);
        !warning.empty()) {
        std::fprintf(stderr, "%s: %s\n", programName.c_str(), warning.c_str());
        QTimer::singleShot(0, &window, [&, warning] {
            messageBoxes.Warning(state.texts[vantrel::TextId::MessageTitle], warning);
        });
    }
    return app.exec();
}
