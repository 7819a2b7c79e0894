// The whole program started as a user starts it, in a chosen environment with chosen arguments:
// the starts that cannot work end at once with their exit status and a line on standard error,
// instead of aborting or running on without effect.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/TempDir.h"

extern char** environ;

namespace vantrel {
namespace {

using namespace std::chrono_literals;

// A private Xvfb started without XTEST (-tst); its display name is ":N".
class XServerWithoutXTest {
  public:
    XServerWithoutXTest() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-tst", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // Xvfb writes the number once it accepts clients; the read waits for that.
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) name_ = ":" + number;
    }
    ~XServerWithoutXTest() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    XServerWithoutXTest(const XServerWithoutXTest&) = delete;
    XServerWithoutXTest& operator=(const XServerWithoutXTest&) = delete;

    const std::string& Name() const { return name_; }

  private:
    pid_t pid_ = -1;
    std::string name_;
};

struct Ended {
    bool exited = false;
    int status = -1;
    std::string standardError;
};

// Runs the program with the test's environment minus every display, plus `variables`, and
// waits for its end (a start that hangs is killed after a generous minute).
Ended RunProgram(const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& variables, const test::TempDir& home) {
    std::map<std::string, std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const auto equals = text.find('=');
        environment[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "QT_QPA_PLATFORM"})
        environment.erase(name);
    // An empty runtime folder: no compositor's default socket (wayland-0) can be found there.
    environment["XDG_RUNTIME_DIR"] = (home / "runtime").string();
    environment["HOME"] = home.path().string();
    environment["XDG_CONFIG_HOME"] = (home / "config").string();
    for (const auto& [name, value] : variables) environment[name] = value;
    std::filesystem::create_directories(home / "runtime");
    std::filesystem::permissions(home / "runtime", std::filesystem::perms::owner_all);

    std::vector<std::string> words{std::string(VANTREL_PROGRAM_DIR) + "/vantrel"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<std::string> pairs;
    for (const auto& [name, value] : environment) pairs.push_back(name + "=" + value);
    std::vector<char*> argv, envp;
    for (auto& word : words) argv.push_back(word.data());
    for (auto& pair : pairs) envp.push_back(pair.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    const std::string errorFile = (home / "stderr").string();
    const pid_t child = fork();
    if (child == 0) {
        const int fd = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, STDERR_FILENO);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    Ended ended;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(20ms);
    }
    ended.exited = WIFEXITED(status);
    ended.status = ended.exited ? WEXITSTATUS(status) : -WTERMSIG(status);
    std::ifstream in(errorFile);
    std::ostringstream text;
    text << in.rdbuf();
    ended.standardError = text.str();
    return ended;
}

struct ExitCase {
    const char* name;
    std::vector<std::string> arguments;  // "{noxtest}" stands for the X server without XTEST
    std::map<std::string, std::string> variables;
    int status;
    const char* firstLine;  // a part of it
};

std::string WithServer(std::string text, const std::string& server) {
    if (const auto at = text.find("{noxtest}"); at != std::string::npos)
        text.replace(at, 9, server);
    return text;
}

class ProgramExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(ProgramExit, EndsAtOnceWithItsStatusAndOneLine) {
    const ExitCase& c = GetParam();
    const XServerWithoutXTest server;
    ASSERT_FALSE(server.Name().empty()) << "Xvfb did not start";
    std::vector<std::string> arguments;
    for (const auto& argument : c.arguments)
        arguments.push_back(WithServer(argument, server.Name()));
    std::map<std::string, std::string> variables;
    for (const auto& [name, value] : c.variables)
        variables[name] = WithServer(value, server.Name());

    const test::TempDir home;
    const Ended ended = RunProgram(arguments, variables, home);
    ASSERT_TRUE(ended.exited) << "status " << ended.status << "\n" << ended.standardError;
    EXPECT_EQ(ended.status, c.status) << ended.standardError;
    const std::string firstLine = ended.standardError.substr(0, ended.standardError.find('\n'));
    EXPECT_NE(firstLine.find(c.firstLine), std::string::npos) << ended.standardError;
    // A failure to start says one thing; only a wrong option adds the usage text.
    if (c.status != 64) EXPECT_EQ(firstLine.size() + 1, ended.standardError.size());
}

INSTANTIATE_TEST_SUITE_P(
    Starts, ProgramExit,
    ::testing::Values(
        ExitCase{"MisspeltOption",
                 {"--pointr=wlroots"},
                 {{"DISPLAY", "{noxtest}"}},
                 64,
                 "unknown option --pointr=wlroots"},
        ExitCase{"QtOptionWithTwoDashes",
                 {"--platform", "offscreen", "--pointer=wlroots"},
                 {{"WAYLAND_DISPLAY", "no-such-compositor"}},
                 69,
                 "--pointer=wlroots:"},
        ExitCase{"NoDisplay", {}, {}, 69, "no display can be opened"},
        ExitCase{"NoDisplayWithUinput", {"--pointer=uinput"}, {}, 69, "no display can be opened"},
        ExitCase{"NoDisplayForQt",
                 {},
                 {{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "no-such-compositor"}},
                 69,
                 "no display can be opened"},
        ExitCase{"X11OutputWithoutXDisplay",
                 {"-platform", "offscreen", "--pointer=x11"},
                 {},
                 69,
                 "--pointer=x11: no X display"},
        ExitCase{"X11OutputWithoutXTest",
                 {"--pointer=x11"},
                 {{"DISPLAY", "{noxtest}"}},
                 69,
                 "lacks the XTEST extension"},
        ExitCase{"X11OutputOnQtsDisplay",
                 {"-display", "{noxtest}", "--pointer=x11"},
                 {},
                 69,
                 "lacks the XTEST extension"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantrel
