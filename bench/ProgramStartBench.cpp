#include "ProgramStartBench.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "BenchCommon.h"
#include "support/ScriptedJoystick.h"
#include "support/TempDir.h"

extern char** environ;

namespace vantrel::bench {

namespace {

namespace fs = std::filesystem;

long RssKiBOf(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(file, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// Processes `pid` has started that still run (the update check's fetch process, in builds
// that have one).
int ChildrenOf(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) +
                       "/children");
    int count = 0;
    for (std::string child; file >> child;) ++count;
    return count;
}

// Whether the network module is mapped into `pid`.
bool MapsNetwork(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/maps");
    for (std::string line; std::getline(file, line);)
        if (line.find("libQt6Network") != std::string::npos) return true;
    return false;
}

// The notification area's panel window (trayer names it "panel"), searched from `window` down.
Window FindPanel(Display* display, Window window) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        const bool panel = std::string(name) == "panel";
        XFree(name);
        if (panel) return window;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) found = FindPanel(display, children[i]);
    if (children != nullptr) XFree(children);
    return found;
}

// True when the program's red knob shows anywhere inside `window` (the panel): the icon is
// embedded and painted.
bool KnobShown(Display* display, Window window) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0) return false;
    // Read from the root window: the panel's own contents may not be readable as a drawable.
    const Window root = DefaultRootWindow(display);
    int x = 0, y = 0;
    Window child = 0;
    if (XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child) == 0) return false;
    // Only the part on the screen can be read.
    const int right = std::min(x + attributes.width, DisplayWidth(display, 0));
    const int bottom = std::min(y + attributes.height, DisplayHeight(display, 0));
    x = std::max(x, 0);
    y = std::max(y, 0);
    if (right <= x || bottom <= y) return false;
    XImage* image = XGetImage(display, root, x, y, static_cast<unsigned>(right - x),
                              static_cast<unsigned>(bottom - y), AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    bool red = false;
    for (int y = 0; y < image->height && !red; ++y)
        for (int x = 0; x < image->width && !red; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            red = ((p >> 16) & 0xff) > 150 && ((p >> 8) & 0xff) < 110 && (p & 0xff) < 110;
        }
    XDestroyImage(image);
    return red;
}

struct Start {
    double toTrayMs = -1;
    long rssKiB = -1;
    long laterRssKiB = -1;  // `later` after the start
    int laterChildren = 0;
    bool laterNetwork = false;
    std::vector<std::pair<long, std::string>> largest;  // resident KiB per mapped file
    std::vector<std::pair<long, std::string>> grown;    // KiB gained from the icon to `later`
};

// What grew from `before` to `after` (ResidentByFile's lists), most first.
std::vector<std::pair<long, std::string>> Growth(
    const std::vector<std::pair<long, std::string>>& before,
    const std::vector<std::pair<long, std::string>>& after) {
    std::map<std::string, long> kib;
    for (const auto& [size, path] : after) kib[path] += size;
    for (const auto& [size, path] : before) kib[path] -= size;
    std::vector<std::pair<long, std::string>> sorted;
    for (const auto& [path, size] : kib)
        if (size != 0) sorted.emplace_back(size, path);
    std::sort(sorted.rbegin(), sorted.rend());
    return sorted;
}

// Where the resident pages are, from /proc/PID/smaps: per file (anonymous memory and the heap
// under their own names), largest first.
std::vector<std::pair<long, std::string>> ResidentByFile(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/smaps");
    std::map<std::string, long> kib;
    std::string current;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("Rss:", 0) == 0) {
            kib[current] += std::stol(line.substr(4));
        } else if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) &&
                   line.find('-') < line.find(' ')) {
            // "start-end perms offset dev inode   path"
            std::istringstream fields(line);
            std::string skip, path;
            for (int i = 0; i < 5; ++i) fields >> skip;
            std::getline(fields >> std::ws, path);
            current = path.empty() ? "[anonymous]" : path;
        }
    }
    std::vector<std::pair<long, std::string>> sorted;
    for (const auto& [path, size] : kib) sorted.emplace_back(size, path);
    std::sort(sorted.rbegin(), sorted.rend());
    return sorted;
}

// Spawn to exit of `program --version`: loading its libraries and nothing else, the floor under
// every start of it.
double VersionRunMs(const std::string& program) {
    char version[] = "--version";
    char* args[] = {const_cast<char*>(program.c_str()), version, nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    const auto t0 = Clock::now();
    pid_t child = 0;
    const bool spawned = posix_spawn(&child, program.c_str(), &quiet, nullptr, args, environ) == 0;
    posix_spawn_file_actions_destroy(&quiet);
    int status = 0;
    if (!spawned || waitpid(child, &status, 0) != child) return -1;
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// One start of `program` run from a copy of its folder: time until its icon shows in the
// notification area, and its resident memory then and, unless `later` is zero, that long after
// the start.
Start StartOnce(const fs::path& program, Display* display, Window panel,
                std::chrono::milliseconds later) {
    test::TempDir folder;
    std::error_code error;
    fs::copy(program.parent_path(), folder.path(), fs::copy_options::recursive, error);
    const std::string copy = (folder.path() / program.filename()).string();
    char* args[] = {const_cast<char*>(copy.c_str()), nullptr};
    Start start;
    const auto t0 = Clock::now();
    pid_t child = 0;
    if (error || posix_spawn(&child, copy.c_str(), nullptr, nullptr, args, environ) != 0)
        return start;
    while (Clock::now() - t0 < std::chrono::seconds(10)) {
        if (KnobShown(display, panel)) {
            start.toTrayMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
            start.rssKiB = RssKiBOf(child);
            start.largest = ResidentByFile(child);
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    if (start.toTrayMs >= 0 && later.count() > 0) {
        std::this_thread::sleep_until(t0 + later);
        start.laterRssKiB = RssKiBOf(child);
        start.laterChildren = ChildrenOf(child);
        start.laterNetwork = MapsNetwork(child);
        start.grown = Growth(start.largest, ResidentByFile(child));
    }
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    // The icon must be gone before the next start looks for it.
    while (KnobShown(display, panel)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return start;
}

}  // namespace

void ProgramStartFigures(const std::vector<std::string>& programs, int runs, double laterSeconds) {
    const auto later = std::chrono::milliseconds(static_cast<long>(laterSeconds * 1000));
    std::printf("== the real program: start to tray icon, scripted joystick, %d runs each", runs);
    std::printf(programs.size() > 1 ? ", alternated\n" : "\n");
    test::ScriptedJoystick pad;  // served from this process to the started ones
    Display* display = XOpenDisplay(nullptr);
    // A window that goes away while it is looked at is no reason to stop.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const Window panel = display != nullptr ? FindPanel(display, DefaultRootWindow(display)) : 0;
    if (!pad.Ready() || panel == 0) {
        std::printf("skipped: needs umockdev-wrapper and a notification area (trayer)\n");
        if (display != nullptr) XCloseDisplay(display);
        return;
    }
    struct Series {
        std::vector<double> times, rss, version, laterRss;
        int laterChildren = 0, laterNetwork = 0;
        std::vector<std::pair<long, std::string>> largest, grown;
    };
    std::vector<Series> series(programs.size());
    // Round by round, so every program sees the same machine within seconds.
    for (int i = 0; i < runs; ++i)
        for (std::size_t p = 0; p < programs.size(); ++p) {
            series[p].version.push_back(VersionRunMs(programs[p]));
            const Start start = StartOnce(programs[p], display, panel, later);
            if (start.toTrayMs < 0) {
                std::printf("  %s run %d: no tray icon within 10 s\n", programs[p].c_str(), i + 1);
                continue;
            }
            if (series[p].largest.empty()) series[p].largest = start.largest;
            if (series[p].grown.empty()) series[p].grown = start.grown;
            series[p].times.push_back(start.toTrayMs);
            series[p].rss.push_back(double(start.rssKiB) / 1024.0);
            if (start.laterRssKiB < 0) continue;
            series[p].laterRss.push_back(double(start.laterRssKiB) / 1024.0);
            series[p].laterChildren += start.laterChildren;
            series[p].laterNetwork += start.laterNetwork ? 1 : 0;
        }
    XCloseDisplay(display);
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const Series& s = series[p];
        std::printf("%s\n", programs[p].c_str());
        if (s.times.empty()) continue;
        std::printf("  resident at the tray icon, first run, largest first:\n");
        for (std::size_t k = 0; k < std::min<std::size_t>(24, s.largest.size()); ++k)
            std::printf("    %6ld KiB  %s\n", s.largest[k].first, s.largest[k].second.c_str());
        std::printf("  start to tray icon on screen: min %.1f ms  median %.1f ms  max %.1f ms\n",
                    Percentile(s.times, 0), Percentile(s.times, 50), Percentile(s.times, 100));
        std::printf("  VmRSS at the tray icon: min %.1f MiB  median %.1f MiB  max %.1f MiB\n",
                    Percentile(s.rss, 0), Percentile(s.rss, 50), Percentile(s.rss, 100));
        std::printf("  --version, spawn to exit (loading only): min %.1f ms  median %.1f ms\n",
                    Percentile(s.version, 0), Percentile(s.version, 50));
        if (s.laterRss.empty()) continue;
        std::printf(
            "  VmRSS %.0f s after the start: min %.1f MiB  median %.1f MiB  max %.1f MiB"
            "  (Qt Network mapped in %d of %zu runs, %d processes of its own left)\n",
            laterSeconds, Percentile(s.laterRss, 0), Percentile(s.laterRss, 50),
            Percentile(s.laterRss, 100), s.laterNetwork, s.laterRss.size(), s.laterChildren);
        std::printf("  grown from the icon to then, first run, most first:\n");
        for (std::size_t k = 0; k < std::min<std::size_t>(12, s.grown.size()); ++k)
            std::printf("    %+6ld KiB  %s\n", s.grown[k].first, s.grown[k].second.c_str());
    }
}

}  // namespace vantrel::bench
