#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "platform/unix/QtInstanceLock.h"
#include "platform/unix/UnixSignals.h"

namespace vantrel {
namespace {

TEST(InstanceLock, SecondHolderSeesTheFirstAndTheFirstDoesNot) {
    QTemporaryDir dir;
    QtInstanceLock first("vantrel", dir.path());
    EXPECT_FALSE(first.AnotherInstanceRunning());
    EXPECT_FALSE(first.AnotherInstanceRunning());  // asking again must not see itself
    QtInstanceLock second("vantrel", dir.path());
    EXPECT_TRUE(second.AnotherInstanceRunning());
    QtInstanceLock otherName("vantrel-copy", dir.path());
    EXPECT_FALSE(otherName.AnotherInstanceRunning());
}

TEST(InstanceLock, LockOfACrashedCopyIsTakenOver) {
    QTemporaryDir dir;
    const pid_t child = fork();
    if (child == 0) {
        QtInstanceLock crashed("vantrel", dir.path());
        crashed.AnotherInstanceRunning();
        ::kill(::getpid(), SIGKILL);  // no destructor, no unlock: the file stays behind
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    QtInstanceLock next("vantrel", dir.path());
    ASSERT_TRUE(QFile::exists(next.FilePath()));
    EXPECT_FALSE(next.AnotherInstanceRunning());
}

TEST(UnixSignals, TermIntAndHupArriveOnTheEventLoop) {
    UnixSignals watcher;
    std::vector<int> seen;
    QObject::connect(&watcher, &UnixSignals::received, [&](int n) { seen.push_back(n); });
    for (int n : {SIGTERM, SIGINT, SIGHUP}) ::raise(n);  // the process survives each one
    QElapsedTimer timer;
    timer.start();
    while (seen.size() < 3 && timer.elapsed() < 5000) QCoreApplication::processEvents();
    EXPECT_EQ(seen, (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
}

}  // namespace
}  // namespace vantrel
