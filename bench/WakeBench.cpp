#include "WakeBench.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "BenchCommon.h"
#include "ProgramRig.h"
#include "TimerBench.h"
#include "core/engine/WakePorts.h"
#include "support/ScriptedJoystick.h"

namespace vantrel::bench {

namespace {

constexpr int kIntervalMs = 5;

// Stands in for the joystick's device node, which an SDL virtual joystick lacks: an eventfd
// the bench writes whenever it moves the stick, watched by a QSocketNotifier and drained the
// way UdevWakeSource treats the node.
class EventFdWake : public WakeSourcePort {
  public:
    EventFdWake()
        : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), notifier_(fd_, QSocketNotifier::Read) {
        notifier_.setEnabled(false);
        QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_, [this] {
            Drain();
            notifier_.setEnabled(false);
            if (!armed_) return;
            armed_ = false;
            if (handler_) handler_();
        });
    }
    ~EventFdWake() override { close(fd_); }

    void SetWakeHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
    bool Watch(int, WakeInput) override {
        Drain();
        armed_ = true;
        notifier_.setEnabled(true);
        return true;
    }
    void Unwatch() override {
        armed_ = false;
        notifier_.setEnabled(false);
    }
    // The device reports a change.
    void Signal() {
        const std::uint64_t one = 1;
        static_cast<void>(write(fd_, &one, sizeof one));
    }

  private:
    void Drain() {
        std::uint64_t count = 0;
        static_cast<void>(read(fd_, &count, sizeof count));
    }
    int fd_;
    QSocketNotifier notifier_;
    std::function<void()> handler_;
    bool armed_ = false;
};

// CPU seconds (user + system) of process `pid` from /proc; 0 when it cannot be read.
double ProcCpuSeconds(long pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string skip;
    for (int i = 3; i < 14; ++i) fields >> skip;  // state .. cmajflt
    long utime = 0, stime = 0;
    fields >> utime >> stime;
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

struct Window {
    double switchesPerSecond, cpuPercent, serverCpuPercent;
};

// `seconds` of `idle` (the event loop, or a plain sleep) measured for this process and the X
// server (pid in VANTREL_XVFB_PID; 0 when not given).
template <class Idle>
Window Measure(double seconds, Idle idle) {
    const char* serverPid = std::getenv("VANTREL_XVFB_PID");
    const long server = serverPid != nullptr ? std::atol(serverPid) : 0;
    const double cpu0 = ProcessCpuSeconds();
    const double server0 = server != 0 ? ProcCpuSeconds(server) : 0;
    const long switches0 = ContextSwitches();
    const auto start = Clock::now();
    idle(static_cast<int>(seconds * 1000));
    const std::chrono::duration<double> wall = Clock::now() - start;
    const double server1 = server != 0 ? ProcCpuSeconds(server) : 0;
    return {double(ContextSwitches() - switches0) / wall.count(),
            (ProcessCpuSeconds() - cpu0) / wall.count() * 100,
            (server1 - server0) / wall.count() * 100};
}

void PrintWindow(const char* what, const Window& w) {
    std::printf("  %-34s %8.1f wake-ups/s   CPU %6.3f %%   X server CPU %6.3f %%\n", what,
                w.switchesPerSecond, w.cpuPercent, w.serverCpuPercent);
}

// Milliseconds from a stick deflection to the window's first pointer move, over `trials`
// deflections at random phases of the 5 ms grid; the stick goes back to rest between them.
// `signal` tells the stand-in wake source that the stick moved (nothing for the others).
template <class Signal>
std::vector<double> MoveDelays(ProgramRig& rig, Signal signal, int trials) {
    std::mt19937 random(15);
    std::uniform_int_distribution<int> phaseUs(0, 5000);
    std::vector<double> delays;
    for (int i = 0; i < trials; ++i) {
        std::this_thread::sleep_for(std::chrono::microseconds(phaseUs(random)));
        QCoreApplication::processEvents();
        const std::uint64_t before = rig.Placements();
        const auto start = Clock::now();
        rig.MoveStick(32767, 0);
        signal();
        while (rig.Placements() == before && Clock::now() - start < std::chrono::seconds(1))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
        delays.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        rig.MoveStick(0, 0);
        signal();
        RunLoop(30);
    }
    return delays;
}

// One window of a stick held for `seconds` at (x, y) and back, turning every second so the
// pointer runs back and forth (or the window scrolls up and down): the CPU, and per tick the
// event loop thread's wake-ups (less the scripted node's emulated reads) and the X replies it
// waited for. `move` holds the stick.
struct Moving {
    Window w;
    double ticks, wakeUps, readsPerTick, perRead, replies;
};

template <class Signal, class Move>
Moving MovingWindow(ProgramRig& rig, Signal signal, Move move, double seconds, int x, int y) {
    const double perRead = rig.WakeUpsPerEmulatedRead();
    const auto ticks0 = rig.Ticks();
    const auto waits0 = rig.PointerWaits();
    const auto reads0 = rig.EmulatedReads();
    const long switches0 = MainThreadContextSwitches();
    int direction = 1;
    const Window w = Measure(seconds, [&](int ms) {
        for (int done = 0; done < ms; done += 1000, direction = -direction) {
            move(direction * x, direction * y);
            signal();
            RunLoop(std::min(1000, ms - done));
        }
    });
    const double ticks = std::max<double>(1, double(rig.Ticks() - ticks0));
    const double switches = double(MainThreadContextSwitches() - switches0);
    const double reads = double(rig.EmulatedReads() - reads0);
    move(0, 0);
    signal();
    RunLoop(100);
    return {w,
            ticks,
            (switches - reads * perRead) / ticks,
            reads / ticks,
            perRead,
            double(rig.PointerWaits() - waits0) / ticks};
}

void PrintMoving(const char* what, const Moving& m) {
    PrintWindow(what, m.w);
    std::printf("  per moving tick (%.0f ticks): %.2f wake-ups of the event loop thread", m.ticks,
                m.wakeUps);
    if (m.readsPerTick > 0)
        std::printf(" (%.2f before taking off %.2f emulated reads of %.2f wake-ups each)",
                    m.wakeUps + m.readsPerTick * m.perRead, m.readsPerTick, m.perRead);
    std::printf(", %.2f X replies waited for\n", m.replies);
}

template <class Signal>
void MovingFigures(ProgramRig& rig, Signal signal, double seconds) {
    PrintMoving("stick held, pointer moving",
                MovingWindow(
                    rig, signal, [&rig](int x, int y) { rig.MoveStick(x, y); }, seconds, 32767, 0));
    // Full push, 8 notches a second at the default speed: a wheel click every 25th tick.
    if (rig.MoveScrollStick(0, 0))
        PrintMoving("second stick held, scrolling",
                    MovingWindow(
                        rig, signal, [&rig](int x, int y) { rig.MoveScrollStick(x, y); }, seconds,
                        0, -32768));
}

// One configuration: at rest, event-to-move delay, moving.
template <class Signal>
void ConfigurationFigures(const char* name, ProgramRig& rig, Signal signal, double seconds) {
    std::printf("-- %s\n", name);
    if (!StartRig(rig)) return;
    RunLoop(200);
    PrintWindow("program at rest", Measure(seconds, RunLoop));
    std::printf("  asleep at the end of the window: %s\n", rig.Asleep() ? "yes" : "no");
    const std::vector<double> delays = MoveDelays(rig, signal, 60);
    std::printf("  joystick event to first move: median %.3f ms  p90 %.3f ms  max %.3f ms\n",
                Percentile(delays, 50), Percentile(delays, 90), Percentile(delays, 100));
    MovingFigures(rig, signal, seconds / 2);
}

// Calls `report(step)` `perSecond` times a second from a thread of its own while it lives: a
// pad at rest whose driver filters nothing, or a stand-in for its node.
class Jitter {
  public:
    Jitter(std::function<void(int)> report, int perSecond)
        : thread_([this, report = std::move(report), perSecond] {
              auto next = Clock::now();
              for (int step = 0; !stop_; ++step) {
                  report(step);
                  next += std::chrono::microseconds(1000000 / perSecond);
                  std::this_thread::sleep_until(next);
              }
              timespec cpu{};
              clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
              cpuSeconds_ = double(cpu.tv_sec) + double(cpu.tv_nsec) * 1e-9;
          }) {}
    // Stops the thread; the CPU it took (the device's side, not the program's).
    double Stop() {
        stop_ = true;
        thread_.join();
        return cpuSeconds_;
    }

  private:
    std::atomic<bool> stop_{false};
    double cpuSeconds_ = 0;
    std::thread thread_;
};

// CPU in ms per 10 s over a `seconds` window of the event loop, less what `jitter` took.
double LoopCpuMs(double seconds, std::optional<Jitter>& jitter, Window* window = nullptr) {
    double deviceCpu = 0;
    const Window w = Measure(seconds, [&](int ms) {
        RunLoop(ms);
        if (jitter) deviceCpu = jitter->Stop();
    });
    if (window != nullptr) *window = w;
    return w.cpuPercent * 100 - deviceCpu * 10000 / seconds;
}

}  // namespace

void JitterFigures(double seconds, int pairs) {
    constexpr int kPerSecond = 125;
    std::printf(
        "== at rest: a DualShock 4 (scripted, udev wake source) silent against its stick "
        "jittering by one step %d times a second, %d pairs of %.0f s windows, alternated; CPU "
        "in ms per 10 s, the device thread's taken off\n",
        kPerSecond, pairs, seconds);
    ProgramRig rig{ProgramRig::Scripted{&test::kDualShock4}};
    if (!StartRig(rig)) return;
    RunLoop(200);
    struct Result {
        bool jitter;
        double cpuMs, reads, wakeUps, timerTicks;
        bool asleep;
    };
    std::vector<Result> results;
    for (int pair = 0; pair < pairs; ++pair)
        for (const bool jitter : {pair % 2 != 0, pair % 2 == 0}) {
            const auto ticks0 = rig.Ticks();
            const auto reads0 = rig.EmulatedReads();
            std::optional<Jitter> pad;
            if (jitter) {
                test::ScriptedJoystick& scripted = *rig.ScriptedPad();
                const test::PadAxis& x = scripted.Description().axes[0];
                const int centre = (x.minimum + x.maximum + 1) / 2;
                pad.emplace([&scripted, centre](
                                int step) { scripted.ReportRaw(centre + step % 2, centre, 0); },
                            kPerSecond);
            }
            Window w{};
            const double cpuMs = LoopCpuMs(seconds, pad, &w);
            results.push_back({jitter, cpuMs, double(rig.EmulatedReads() - reads0),
                               w.switchesPerSecond, double(rig.Ticks() - ticks0), rig.Asleep()});
        }
    std::vector<double> ratios;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const Result& r = results[i];
        std::printf(
            "  %-7s CPU %7.1f, %7.1f wake-ups/s, %6.1f node reads/s, %5.1f timer ticks/s, "
            "asleep: %s\n",
            r.jitter ? "jitter" : "silent", r.cpuMs, r.wakeUps, r.reads / seconds,
            r.timerTicks / seconds, r.asleep ? "yes" : "no");
        const Result& other = results[i ^ 1];
        if (r.jitter && other.cpuMs > 0) ratios.push_back(r.cpuMs / other.cpuMs);
    }
    std::printf("  jitter / silent over %d pairs: median %.0f, min %.0f, max %.0f\n", pairs,
                Percentile(ratios, 50), Percentile(ratios, 0), Percentile(ratios, 100));
    // Under umockdev every read is a round trip to the handler thread. What a kernel node costs
    // at the least, one wake-up and one read per change: an eventfd the event loop reads.
    const int node = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    QSocketNotifier readable(node, QSocketNotifier::Read);
    QObject::connect(&readable, &QSocketNotifier::activated, [node] {
        std::uint64_t count = 0;
        static_cast<void>(read(node, &count, sizeof count));
    });
    std::optional<Jitter> changes;
    changes.emplace(
        [node](int) {
            const std::uint64_t one = 1;
            static_cast<void>(write(node, &one, sizeof one));
        },
        kPerSecond);
    std::printf("  floor, one wake-up and one read of a kernel descriptor per change: CPU %.1f\n",
                LoopCpuMs(seconds, changes));
    close(node);
}

void MovingPathFigures(double seconds, int pairs) {
    std::printf(
        "== moving: reading and placing (before) against relative motion (after), %d "
        "pairs of %.0f s windows, ABBA order; stand-in joystick, asleep between runs\n",
        pairs, seconds);
    EventFdWake wake;
    ProgramRig rig(&wake);
    if (!StartRig(rig)) return;
    RunLoop(200);
    const auto signal = [&wake] { wake.Signal(); };
    const auto stick = [&rig](int x, int y) { rig.MoveStick(x, y); };
    for (const auto& [what, x, y] :
         {std::tuple{"one axis", 32767, 0}, std::tuple{"diagonal", 32767, 32767}}) {
        std::printf("-- stick held on %s\n", what);
        std::vector<double> ratios;
        for (int pair = 0; pair < pairs; ++pair) {
            Moving before{}, after{};
            for (const bool readFirst : {pair % 2 == 0, pair % 2 != 0}) {
                rig.SetReadAndPlace(readFirst);
                (readFirst ? before : after) = MovingWindow(rig, signal, stick, seconds, x, y);
            }
            rig.SetReadAndPlace(false);
            PrintMoving("before: read and place", before);
            PrintMoving("after: relative motion", after);
            const double sumBefore = before.w.cpuPercent + before.w.serverCpuPercent;
            const double sumAfter = after.w.cpuPercent + after.w.serverCpuPercent;
            ratios.push_back(sumBefore > 0 ? sumAfter / sumBefore : 0);
            std::printf("  program + X server CPU, after / before: %.2f\n", ratios.back());
        }
        std::printf("  after / before over %d pairs: median %.2f, min %.2f, max %.2f\n", pairs,
                    Percentile(ratios, 50), Percentile(ratios, 0), Percentile(ratios, 100));
    }
}

void WakeFigures(double seconds) {
    std::printf("== at rest: polling against sleeping between wake-ups, %.0f s windows\n", seconds);
    const Window floor = Measure(seconds, [](int ms) {
        auto next = Clock::now();
        for (int i = 0; i < ms / kIntervalMs; ++i) {
            next += std::chrono::milliseconds(kIntervalMs);
            std::this_thread::sleep_until(next);
        }
    });
    PrintWindow("floor: plain sleep to 5 ms deadlines", floor);
    {
        ProgramRig rig;
        ConfigurationFigures(
            "polling: SDL virtual joystick, no wake source", rig, [] {}, seconds);
    }
    {
        EventFdWake wake;
        ProgramRig rig(&wake);
        ConfigurationFigures(
            "sleeping, stand-in: SDL virtual joystick, eventfd wake source", rig,
            [&wake] { wake.Signal(); }, seconds);
    }
    {
        ProgramRig rig{ProgramRig::Scripted{&test::kPlainPad}};
        ConfigurationFigures(
            "sleeping, scripted: evdev joystick from umockdev, udev wake source", rig, [] {},
            seconds);
    }
}

}  // namespace vantrel::bench
