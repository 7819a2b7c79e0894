#include "StartupBench.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <string>

#include "BenchCommon.h"
#include "ProgramRig.h"

extern char** environ;

namespace vantrel::bench {

namespace {

long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

}  // namespace

void StartupFigures(const char* self) {
    std::printf("== start-up of a fresh process\n");
    std::fflush(stdout);
    const std::string start = std::to_string(NowNs());
    char* args[] = {const_cast<char*>(self), const_cast<char*>("--startup-child"),
                    const_cast<char*>(start.c_str()), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, self, nullptr, nullptr, args, environ) != 0) {
        std::printf("skipped: could not start %s\n", self);
        return;
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::printf("start-up copy failed\n");
}

int StartupChild(int argc, char** argv, long long startNs) {
    const double toMain = double(NowNs() - startNs) / 1e6;
    QApplication app(argc, argv);
    ProgramRig rig;
    if (!rig.Problem().empty()) {
        std::printf("skipped: %s\n", rig.Problem().c_str());
        return 0;
    }
    rig.Start();
    QElapsedTimer waited;
    waited.start();
    bool shown = false;
    while (!(shown = rig.TrayIconShown()) && waited.elapsed() < 10000) RunLoop(2);
    const double toTray = double(NowNs() - startNs) / 1e6;
    const long rssAtTray = VmRssKiB();
    RunLoop(2000);
    const long rssLater = VmRssKiB();
    std::printf("process start to main(): %.1f ms\n", toMain);
    if (shown)
        std::printf("process start to tray icon on screen: %.1f ms\n", toTray);
    else
        std::printf("tray icon never showed (no notification area?)\n");
    std::printf("VmRSS at the tray icon %ld KiB, 2 s later %ld KiB\n", rssAtTray, rssLater);
    return 0;
}

}  // namespace vantrel::bench
