// Prints what the program costs: the poll tick over fakes and over the real backends, the tick
// rate the event loop delivers and the CPU it takes at rest, and start-up time and memory.
// Usage: vantrel_bench [--core] [--backends] [--outputs] [--timer] [--idle] [--startup]
//                     [--seconds N]
//                     [--pipeline PAIRS]   (fresh against pipelined idle reads, A/B in one run)
//                     [--wake]   (at rest polling against sleeping; under scripts/bench the X
//                                 server's CPU too)
//                     [--jitter PAIRS]   (at rest, a scripted DualShock 4 silent against its
//                                 stick jittering, in alternated windows)
//                     [--windows ROUNDS]   (resident memory while the options and about
//                      windows open and close, with language changes)
//                     [--moving PAIRS]   (moving ticks read and placed against relative
//                                 motion, A/B in one run)
//                     [--program PATH [RUNS]]   (the real executable's start to its tray icon,
//                                 with the scripted joystick; under scripts/bench; repeated:
//                                 the programs start in turn, e.g. a before and an after build)
//                     [--later SECONDS]   (with --program: memory also that long after the
//                                 start, once the update check is over)
// (no part named: all but --idle, which is --timer without its reference loops). Parts after
// --core need a display: run under scripts/with-xvfb.
//        vantrel_bench --ticks-only rest|moving N   (N real ticks untimed, for strace)
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "BackendBench.h"
#include "CoreBench.h"
#include "OutputBench.h"
#include "ProgramStartBench.h"
#include "StartupBench.h"
#include "TimerBench.h"
#include "WakeBench.h"
#include "WindowsBench.h"

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--startup-child") == 0)
        return vantrel::bench::StartupChild(argc, argv, std::stoll(argv[2]));

    if (argc == 4 && std::strcmp(argv[1], "--ticks-only") == 0) {
        vantrel::bench::BackendTicksOnly(std::strcmp(argv[2], "moving") == 0, std::stoi(argv[3]));
        return 0;
    }

    bool core = false, backends = false, timer = false, idle = false, startup = false;
    bool outputs = false, wake = false;
    int pipelinePairs = 0, movingPairs = 0, jitterPairs = 0, windowRounds = 0;
    std::vector<std::string> programs;
    int programRuns = 11;
    double seconds = 10, laterSeconds = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--core") {
            core = true;
        } else if (arg == "--backends") {
            backends = true;
        } else if (arg == "--outputs") {
            outputs = true;
        } else if (arg == "--timer") {
            timer = true;
        } else if (arg == "--idle") {
            idle = true;
        } else if (arg == "--wake") {
            wake = true;
        } else if (arg == "--startup") {
            startup = true;
        } else if (arg == "--pipeline" && i + 1 < argc) {
            pipelinePairs = std::stoi(argv[++i]);
        } else if (arg == "--jitter" && i + 1 < argc) {
            jitterPairs = std::stoi(argv[++i]);
        } else if (arg == "--moving" && i + 1 < argc) {
            movingPairs = std::stoi(argv[++i]);
        } else if (arg == "--windows" && i + 1 < argc) {
            windowRounds = std::stoi(argv[++i]);
        } else if (arg == "--program" && i + 1 < argc) {
            programs.emplace_back(argv[++i]);
            if (i + 1 < argc && argv[i + 1][0] != '-') programRuns = std::stoi(argv[++i]);
        } else if (arg == "--later" && i + 1 < argc) {
            laterSeconds = std::stod(argv[++i]);
        } else if (arg == "--seconds" && i + 1 < argc) {
            seconds = std::stod(argv[++i]);
        } else {
            std::fprintf(
                stderr,
                "usage: %s [--core] [--backends] [--outputs] [--timer] [--idle] [--startup] "
                "[--seconds N] [--pipeline PAIRS] [--wake] [--jitter PAIRS] [--moving PAIRS] "
                "[--windows ROUNDS] [--program PATH [RUNS]] [--later SECONDS]\n",
                argv[0]);
            return 2;
        }
    }
    if (!programs.empty()) {
        vantrel::bench::ProgramStartFigures(programs, programRuns, laterSeconds);
        return 0;
    }
    const int rounds = pipelinePairs + movingPairs + jitterPairs + windowRounds;
    if (!core && !backends && !outputs && !timer && !idle && !startup && !wake && rounds == 0)
        core = backends = outputs = timer = startup = true;

    if (core) vantrel::bench::CoreFigures();
    if (backends) vantrel::bench::BackendFigures();
    if (outputs) vantrel::bench::OutputFigures();
    const bool display = std::getenv("DISPLAY") != nullptr;
    if ((timer || idle || startup || wake || rounds > 0) && !display)
        std::printf("event loop and start-up skipped: DISPLAY is not set\n");
    if ((timer || idle || wake || rounds > 0) && display) {
        QApplication app(argc, argv);
        if (wake) vantrel::bench::WakeFigures(seconds);
        if (timer || idle) vantrel::bench::TimerFigures(seconds, !timer);
        if (pipelinePairs > 0) vantrel::bench::PipelineFigures(seconds, pipelinePairs);
        if (movingPairs > 0) vantrel::bench::MovingPathFigures(seconds, movingPairs);
        if (jitterPairs > 0) vantrel::bench::JitterFigures(seconds, jitterPairs);
        if (windowRounds > 0) vantrel::bench::WindowRoundsFigures(windowRounds);
    }
    // A fresh process, so its start and memory are its own.
    if (startup && display) {
        std::error_code error;
        const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
        vantrel::bench::StartupFigures(error ? argv[0] : self.c_str());
    }
    return 0;
}
