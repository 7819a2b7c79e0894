// Runs a piece of a test as `nobody`: root may write anywhere, so what an unprivileged user
// meets (a read-only folder, a node without write access) is seen only after dropping root.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace vantrel::test {

// Runs `body` in a child process, as `nobody` when this one is root, and returns the child's
// exit status (-1 when it did not exit). Status 2 stands for "could not drop privileges".
inline int ExitStatusWithoutPrivileges(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "could not drop privileges";
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vantrel::test
