// wev, a real Wayland client, in a window of the compositor named by WAYLAND_DISPLAY, and what
// its log says about the pointer: positions (enter and motion) and buttons.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace vantrel::test {

// wev in its own process group, its output line-buffered into a file by `script`.
class Wev {
  public:
    explicit Wev(std::string log) : log_(std::move(log)) {
        pid_ = fork();
        if (pid_ == 0) {
            setpgid(0, 0);
            execlp("script", "script", "-qfc", "wev", log_.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Wev() {
        if (pid_ <= 0) return;
        kill(-pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    Wev(const Wev&) = delete;
    Wev& operator=(const Wev&) = delete;

    std::string Text() const {
        std::ifstream in(log_);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Polls the log for up to five seconds until `done` holds for it.
    bool WaitFor(const std::function<bool(const std::string&)>& done) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            if (done(Text())) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return done(Text());
    }

  private:
    std::string log_;
    pid_t pid_ = -1;
};

// A pointer position wev reported: from an enter (the pointer came over its window) or a motion.
struct Motion {
    bool enter;
    double x, y;
};
struct Button {
    int code, state;
    bool operator==(const Button&) const = default;
};

// Each match of `pattern` once: a compositor that announces the pointer twice makes wev bind two
// wl_pointer objects, and every event then appears once per object, the same but for the id.
template <class Entry, class Make>
std::vector<Entry> EventsOnce(const std::string& text, const std::regex& pattern, Make make) {
    std::vector<Entry> out;
    std::string previous;
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) {
        if (it->str() == previous) continue;
        previous = it->str();
        out.push_back(make(*it));
    }
    return out;
}

inline std::vector<Motion> Positions(const std::string& text) {
    static const std::regex position(R"((enter|motion): [^\n]*?x, y: ([-0-9.]+), ([-0-9.]+))");
    return EventsOnce<Motion>(text, position, [](const std::smatch& m) {
        return Motion{m[1] == "enter", std::stod(m[2]), std::stod(m[3])};
    });
}

inline std::vector<Button> Buttons(const std::string& text) {
    static const std::regex button(
        R"(button: serial: \d+; time: \d+; button: (\d+) .*?state: (\d))");
    return EventsOnce<Button>(text, button, [](const std::smatch& m) {
        return Button{std::stoi(m[1]), std::stoi(m[2])};
    });
}

}  // namespace vantrel::test
