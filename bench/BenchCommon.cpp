#include "BenchCommon.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vantrel::bench {

void Print(const char* what, Figures f, double scale, const char* unit) {
    std::printf("%-58s min %9.2f %s   median %9.2f %s\n", what, f.min / scale, unit,
                f.median / scale, unit);
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * double(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double ProcessCpuSeconds() {
    timespec ts{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts) != 0) return 0;
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

double StatCpuSeconds() {
    std::ifstream file("/proc/self/stat");
    std::string text;
    std::getline(file, text);
    // The command name may hold blanks and parentheses: fields are counted after the last ')'.
    const auto close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    // Field 3 (state) comes first; utime and stime are fields 14 and 15.
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14) utime = std::stoull(field);
        if (number == 15) stime = std::stoull(field);
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

namespace {

long TaskContextSwitches(const std::filesystem::path& task) {
    long total = 0;
    std::ifstream file(task / "status");
    for (std::string line; std::getline(file, line);)
        if (line.find("ctxt_switches:") != std::string::npos)
            total += std::stol(line.substr(line.find(':') + 1));
    return total;
}

}  // namespace

long ContextSwitches() {
    long total = 0;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error))
        total += TaskContextSwitches(task.path());
    return total;
}

long MainThreadContextSwitches() {
    return TaskContextSwitches("/proc/thread-self");
}

long VmRssKiB() {
    std::ifstream file("/proc/self/status");
    for (std::string line; std::getline(file, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

}  // namespace vantrel::bench
