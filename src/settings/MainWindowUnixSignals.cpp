// The main window's Unix part: SIGTERM, SIGINT and SIGHUP end the run like the exit entry.
#include <QCoreApplication>

#include "platform/qt/UnixSignals.h"
#include "settings/MainWindow.h"

namespace vantrel {

void MainWindow::ConnectShutdown(QCoreApplication& app, UnixSignals& unixSignals) {
    ConnectShutdown(app);
    connect(&unixSignals, &UnixSignals::received, &app, &QCoreApplication::quit);
}

}  // namespace vantrel
