// Vantrel: drives the mouse pointer with a joystick. Builds the platform's backends, hands them
// to the tray application and runs the event loop.
#include <QApplication>
#include <QCoreApplication>
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
constexpr int kOsError = 71;            // the system does not say where the program is

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

int main(int argc, char** argv) {
    vantrel::PlatformBackends::PrepareEnvironment();
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

    // Lang/, the documents, the HTTP module and the settings are found beside the program; an
    // unknown folder would make that the current one, whatever it holds.
    const std::optional<std::filesystem::path> executable =
        vantrel::PlatformBackends::ProgramExecutable();
    if (!executable) {
        std::fprintf(stderr, "%s: the program's own folder cannot be found\n", programName.c_str());
        return kOsError;
    }
    vantrel::ProgramLocation location{
        .folder = executable->parent_path(),
        .executable = *executable,
        .files = vantrel::PlatformFileLocations(executable->parent_path()),
        // VANTREL_LAUNCHER: the link a system install puts on PATH; empty for every other build.
        .logonCommand = vantrel::LogonCommand(*executable, VANTREL_LAUNCHER),
    };

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
    platform.CatchStopSignals(app);
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
