#include "platform/desktop/qt/QtProcessLauncher.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vantrel {

bool QtProcessLauncher::StartDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) return false;
    QProcess process;
    process.setProgram(QString::fromStdString(argv.front()));
    QStringList arguments;
    for (std::size_t i = 1; i < argv.size(); ++i) arguments << QString::fromStdString(argv[i]);
    process.setArguments(arguments);
#ifdef Q_OS_WIN
    // The control-panel pages open minimised and activated.
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
    });
#endif
    return process.startDetached();
}

bool QtProcessLauncher::ProgramExists(const std::string& program) {
    return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

std::string QtProcessLauncher::CurrentDesktops() {
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").toStdString();
}

}  // namespace vantrel
