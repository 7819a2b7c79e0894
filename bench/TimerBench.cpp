#include "TimerBench.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "BenchCommon.h"
#include "ProgramRig.h"

namespace vantrel::bench {

namespace {

constexpr int kIntervalMs = 5;

// Watches `timer` for `seconds` of event loop and prints what it delivered and what the
// process spent meanwhile.
// `roundTrips` and `waits`, when given, count the X round trips made so far and the replies
// slept for.
struct Watched {
    double cpuPercent = 0;
    double switchesPerTick = 0;
    double waitsPerTick = 0;
};

Watched Watch(const char* what, QTimer& timer, double seconds,
              const std::function<std::uint64_t()>& roundTrips = {},
              const std::function<std::uint64_t()>& waits = {}) {
    const std::uint64_t trips0 = roundTrips ? roundTrips() : 0;
    const std::uint64_t waits0 = waits ? waits() : 0;
    std::vector<Clock::time_point> stamps;
    stamps.reserve(static_cast<std::size_t>(seconds * 1000 / kIntervalMs * 2 + 16));
    const auto connection =
        QObject::connect(&timer, &QTimer::timeout, [&] { stamps.push_back(Clock::now()); });

    const double cpu0 = ProcessCpuSeconds();
    const double stat0 = StatCpuSeconds();
    const long switches0 = ContextSwitches();
    const auto start = Clock::now();
    RunLoop(static_cast<int>(seconds * 1000));
    const std::chrono::duration<double> wall = Clock::now() - start;
    const double cpu = ProcessCpuSeconds() - cpu0;
    const double stat = StatCpuSeconds() - stat0;
    const long switches = ContextSwitches() - switches0;
    const std::uint64_t trips = roundTrips ? roundTrips() - trips0 : 0;
    const std::uint64_t waited = waits ? waits() - waits0 : 0;
    QObject::disconnect(connection);

    std::vector<double> intervals;
    for (std::size_t i = 1; i < stamps.size(); ++i)
        intervals.push_back(
            std::chrono::duration<double, std::milli>(stamps[i] - stamps[i - 1]).count());
    // Rate over whole intervals, from the first tick to the last.
    const double span = stamps.size() < 2
                            ? 0
                            : std::chrono::duration<double>(stamps.back() - stamps.front()).count();
    const double rate = span > 0 ? double(stamps.size() - 1) / span : 0;
    std::printf("%s, %.1f s:\n", what, wall.count());
    std::printf(
        "  ticks per second %.2f (%.2f %% of %d)   interval p50 %.3f ms  p99 %.3f ms  "
        "max %.3f ms\n",
        rate, rate / (1000.0 / kIntervalMs) * 100, 1000 / kIntervalMs, Percentile(intervals, 50),
        Percentile(intervals, 99), Percentile(intervals, 100));
    const double ticks = stamps.empty() ? 1.0 : double(stamps.size());
    std::printf(
        "  CPU %.3f %% of one core (process clock; /proc/self/stat says %.2f %%)"
        "   %.1f us and %.2f context switches per tick\n",
        cpu / wall.count() * 100, stat / wall.count() * 100, cpu / ticks * 1e6,
        double(switches) / ticks);
    if (roundTrips) std::printf("  X round trips per tick %.2f", double(trips) / ticks);
    if (waits) std::printf(", replies waited for %.2f", double(waited) / ticks);
    if (roundTrips) std::printf("\n");
    return {cpu / wall.count() * 100, double(switches) / ticks, double(waited) / ticks};
}

// The floor on this machine: a plain thread sleeping to absolute 5 ms deadlines, no event
// loop, no work. What one wake-up costs here bounds what any 200 Hz poll can cost.
void SleepFloor(double seconds) {
    const int wakeups = static_cast<int>(seconds * 1000 / kIntervalMs);
    const double cpu0 = ProcessCpuSeconds();
    const long switches0 = ContextSwitches();
    const auto start = Clock::now();
    auto next = start;
    for (int i = 0; i < wakeups; ++i) {
        next += std::chrono::milliseconds(kIntervalMs);
        std::this_thread::sleep_until(next);
    }
    const std::chrono::duration<double> wall = Clock::now() - start;
    const double cpu = ProcessCpuSeconds() - cpu0;
    std::printf("floor: plain sleep to 5 ms deadlines, %.1f s:\n", wall.count());
    std::printf("  CPU %.3f %% of one core   %.1f us and %.2f context switches per wake-up\n",
                cpu / wall.count() * 100, cpu / wakeups * 1e6,
                double(ContextSwitches() - switches0) / wakeups);
}

}  // namespace

// Starts the program rig and lets it settle; false (and says why) when it cannot run.
bool StartRig(ProgramRig& rig) {
    if (!rig.Problem().empty()) {
        std::printf("program rig skipped: %s\n", rig.Problem().c_str());
        return false;
    }
    rig.Start();
    QElapsedTimer waited;
    waited.start();
    while (!rig.TrayIconShown() && waited.elapsed() < 5000) RunLoop(20);
    RunLoop(500);  // let start-up settle
    if (!rig.Problem().empty()) {
        std::printf("program rig skipped: %s\n", rig.Problem().c_str());
        return false;
    }
    return true;
}

void PipelineFigures(double seconds, int pairs) {
    std::printf("== program at rest: fresh (A) against pipelined (B) position reads, %d pairs\n",
                pairs);
    ProgramRig rig;
    if (!StartRig(rig)) return;
    std::vector<double> ratios;
    for (int i = 0; i < pairs; ++i) {
        Watched side[2];
        // Alternate which side goes first, so a drifting load favours neither.
        for (int k = 0; k < 2; ++k) {
            const bool fresh = (i + k) % 2 == 0;
            rig.SetFreshDisplayReads(fresh);
            RunLoop(100);  // the first tick of a side may still see the other's state
            side[fresh ? 0 : 1] = Watch(
                fresh ? "A: fresh reads" : "B: pipelined reads", rig.PollTimer(), seconds,
                [&] { return rig.PointerRoundTrips(); }, [&] { return rig.PointerWaits(); });
        }
        ratios.push_back(side[1].cpuPercent / side[0].cpuPercent);
    }
    rig.SetFreshDisplayReads(false);
    std::printf("B / A CPU per pair:");
    for (double r : ratios) std::printf(" %.2f", r);
    std::printf("   median %.2f\n", Percentile(ratios, 50));
}

void TimerFigures(double seconds, bool programOnly) {
    std::printf("== event loop: %d ms Qt::PreciseTimer (platform %s)\n", kIntervalMs,
                qPrintable(QGuiApplication::platformName()));
    if (!programOnly) {
        SleepFloor(seconds);
        QTimer bare;
        bare.setTimerType(Qt::PreciseTimer);
        bare.setInterval(kIntervalMs);
        bare.start();
        RunLoop(200);
        Watch("bare QTimer, empty slot", bare, seconds);
    }
    ProgramRig rig;
    if (!StartRig(rig)) return;
    Watch(
        "program (main window, SDL + X11, tray icon), stick at rest", rig.PollTimer(), seconds,
        [&] { return rig.PointerRoundTrips(); }, [&] { return rig.PointerWaits(); });
}

}  // namespace vantrel::bench
