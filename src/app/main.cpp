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

// The command line's own answers (help, version, a wrong option) with their exit status;
// nothing when the program is to run.
std::optional<int> AnswerCommandLine(const vantrel::CommandLine& line, const std::string& name) {
    switch (line.action) {
        case vantrel::CommandLine::Action::ShowHelp:
            std::fputs(vantrel::UsageText(name).c_str(), stdout);
            return 0;
        case vantrel::CommandLine::Action::ShowVersion:
            std::printf("%s %s\n", name.c_str(),
                        vantrel::VersionNumberText(vantrel::OwnVersion()).c_str());
            return 0;
        case vantrel::CommandLine::Action::Fail:
            std::fprintf(stderr, "%s: %s\n%s", name.c_str(), line.error.c_str(),
                         vantrel::UsageText(name).c_str());
            return kUsageError;
        case vantrel::CommandLine::Action::Run:
            break;
    }
    return std::nullopt;
}

// Where the program runs from; nothing when the system cannot say.
std::optional<vantrel::ProgramLocation> FindProgram() {
    // Lang/, the documents, the HTTP module and the settings are found beside the program; an
    // unknown folder would make that the current one, whatever it holds.
    const std::optional<std::filesystem::path> executable =
        vantrel::PlatformBackends::ProgramExecutable();
    if (!executable) return std::nullopt;
    return vantrel::ProgramLocation{
        .folder = executable->parent_path(),
        .executable = *executable,
        .files = vantrel::PlatformFileLocations(executable->parent_path()),
        // VANTREL_LAUNCHER: the link a system install puts on PATH; empty for every other build.
        .logonCommand = vantrel::LogonCommand(*executable, VANTREL_LAUNCHER),
    };
}

void Say(const std::string& programName, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", programName.c_str(), text.c_str());
}

// The program's run once its backends are made: the tray application, its start and its event
// loop, and what the user must be told on the way. Returns the exit status.
int Run(QApplication& app, vantrel::PlatformBackends& platform,
        const vantrel::ProgramLocation& location, const std::string& programName,
        vantrel::StartedBy startedBy) {
    vantrel::ProgramState state;
    // Said on standard error, then in a box once the event that caused it has been handled.
    const auto tell = [&](const std::string& text) {
        Say(programName, text);
        QTimer::singleShot(0, &app, [&, text] {
            platform.Ports().messageBoxes.Warning(state.texts[vantrel::TextId::MessageTitle], text);
        });
    };
    // Said once, in the user's language.
    platform.OnPointerFallback([&](vantrel::TextId line) { tell(state.texts[line]); });
    vantrel::TrayApplication window(state, platform.Ports(), location);

    // The display can go at any moment, also during the start; settings exist to be saved once
    // the start has read them.
    bool running = false;
    const vantrel::DisplayLossWatch displayLoss([&] {
        if (!running) return true;
        const bool saved = window.Run().SaveSettingsNow();
        window.Run().Engine().ReleaseHeldButton();
        return saved;
    });
    window.Run().Initialize();
    platform.CatchStopSignals(app);
    const vantrel::StartOutcome outcome = window.Run().Start(startedBy);
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
        !warning.empty())
        tell(warning);
    return app.exec();
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
    if (const std::optional<int> status = AnswerCommandLine(commandLine, programName))
        return *status;
    // Qt aborts when it finds no display; tell the user in one line instead.
    if (!vantrel::PlatformBackends::DisplayReachable(
            vantrel::QtDisplayCandidates(commandLine.qtPlatform, Variable("QT_QPA_PLATFORM")),
            commandLine.qtDisplay))
        return Say(programName, vantrel::NoDisplayText()), kOutputUnavailable;

    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantrel");
    QApplication::setQuitOnLastWindowClosed(false);  // closing a dialog never ends the program
    const std::optional<vantrel::ProgramLocation> location = FindProgram();
    if (!location) return Say(programName, "the program's own folder cannot be found"), kOsError;
    vantrel::PlatformBackends platform(*location, commandLine.pointer);
    // An output asked for by --pointer that cannot start ends the program at once.
    if (vantrel::StopsTheProgram(platform.PointerNotice()))
        return Say(programName, vantrel::RequestedUnavailableText(commandLine.pointer,
                                                                  platform.PointerNotice())),
               kOutputUnavailable;
    return Run(app, platform, *location, programName,
               commandLine.atLogon ? vantrel::StartedBy::Logon : vantrel::StartedBy::User);
}
