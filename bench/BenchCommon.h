// Shared helpers of the benchmark program: timing loops, percentiles and what the kernel says
// about this process (CPU time, resident memory).
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

namespace vantrel::bench {

using Clock = std::chrono::steady_clock;

struct Figures {
    double min = 0;
    double median = 0;
};

// Runs `ticksPerRun` calls of `body(run)` `runs` times; returns nanoseconds per call, the best
// run and the median run (the machine is shared, so the minimum is the steadier figure).
template <class Body>
Figures Measure(int runs, int ticksPerRun, Body&& body) {
    std::vector<double> perTick;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        for (int i = 0; i < ticksPerRun; ++i) body(run);
        const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
        perTick.push_back(elapsed.count() / ticksPerRun);
    }
    std::sort(perTick.begin(), perTick.end());
    return {perTick.front(), perTick[perTick.size() / 2]};
}

// Measure over real ticks of `engine` with the stick of `pad` pushed to one end, reversed every
// run so the pointer never rests against the screen's edge.
template <class Pad, class Engine>
Figures MeasureMovingTicks(int runs, int ticksPerRun, Pad& pad, Engine& engine) {
    int direction = 0;  // set on the first tick of every run
    return Measure(runs, ticksPerRun, [&](int run) {
        const int wanted = run % 2 == 0 ? -1 : 1;
        if (wanted != direction) {
            direction = wanted;
            pad.SetAxes(direction < 0 ? -32768 : 32767, 0);
        }
        engine.Tick();
    });
}

// Prints one figure line; `scale` divides nanoseconds into `unit`.
void Print(const char* what, Figures f, double scale, const char* unit);

// The `p`-th percentile (0..100, nearest rank) of `values`; 0 for none. Sorts a copy.
double Percentile(std::vector<double> values, double p);

// CPU time of the whole process (all threads), user + system, in seconds, from the precise
// per-process clock.
double ProcessCpuSeconds();
// The same from /proc/self/stat (utime + stime), at the kernel's clock-tick resolution.
double StatCpuSeconds();
// Context switches of all the process's threads so far (voluntary + involuntary): each one is
// a sleep and a wake-up, which is what an idle poll loop mostly pays for.
long ContextSwitches();
// The same for the calling thread (the event loop's) alone.
long MainThreadContextSwitches();
// Resident set size from /proc/self/status, in KiB; -1 when it cannot be read.
long VmRssKiB();

}  // namespace vantrel::bench
