#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "platform/unix/QtInstanceLock.h"
#include "platform/unix/SessionBus.h"
#include "platform/unix/UnixSignals.h"
#include "support/EventLoopWait.h"
#include "support/ScopedEnv.h"

namespace vantrel {
namespace {

using test::WaitFor;

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

// What another user may leave at the lock's name in a shared temporary folder: a link to one of
// this user's files, which they hold locked. It is never written, and locks nobody out.
TEST(InstanceLock, AFileThatIsNotTheUsersOwnIsNeitherWrittenNorObeyed) {
    const std::function<int(const char*, const char*)> plants[] = {
        [](const char* victim, const char* lock) { return ::symlink(victim, lock); },
        [](const char* victim, const char* lock) { return ::link(victim, lock); },
        [](const char*, const char* lock) { return ::mkfifo(lock, 0666); },
        [](const char* victim, const char* lock) {  // another user's own file, when root
            return ::getuid() != 0
                       ? 0
                       : ::link(victim, lock) | ::unlink(victim) | ::chown(lock, 65534, 65534);
        },
    };
    for (const auto& plant : plants) {
        QTemporaryDir dir;
        const QByteArray victim = QFile::encodeName(dir.filePath("profile"));
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("victim") == 6);
        file.close();
        const int held = ::open(victim.constData(), O_RDONLY);
        ASSERT_EQ(::flock(held, LOCK_EX), 0);
        QtInstanceLock lock("vantrel", dir.path());
        ASSERT_EQ(plant(victim.constData(), QFile::encodeName(lock.FilePath()).constData()), 0);
        EXPECT_FALSE(lock.AnotherInstanceRunning());
        ::close(held);
        QFile after(QFile::exists(victim) ? victim : QFile::encodeName(lock.FilePath()));
        if (after.open(QIODevice::ReadOnly)) {
            EXPECT_EQ(after.readAll(), "victim");
        }
    }
}

// A copy that took the lock in `dir` and was killed: no destructor, the file stays behind.
void CrashWithTheLock(const QString& dir) {
    const pid_t child = fork();
    if (child == 0) {
        QtInstanceLock crashed("vantrel", dir);
        crashed.AnotherInstanceRunning();
        ::kill(::getpid(), SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
}

TEST(InstanceLock, LockOfACrashedCopyIsTakenOver) {
    QTemporaryDir dir;
    CrashWithTheLock(dir.path());
    QtInstanceLock next("vantrel", dir.path());
    ASSERT_TRUE(QFile::exists(next.FilePath()));
    EXPECT_FALSE(next.AnotherInstanceRunning());
}

TEST(InstanceLock, CopiesLockingWithQLockFileAndThisOneSeeEachOther) {  // the older copies
    QTemporaryDir crashDir;
    CrashWithTheLock(crashDir.path());
    QLockFile afterCrash(QtInstanceLock("vantrel", crashDir.path()).FilePath());
    afterCrash.setStaleLockTime(0);
    EXPECT_TRUE(afterCrash.tryLock(0)) << "the file names a process that is gone";
    QTemporaryDir dir;
    QtInstanceLock lock("vantrel", dir.path());
    {
        QLockFile older(lock.FilePath());
        older.setStaleLockTime(0);
        ASSERT_TRUE(older.tryLock(0));
        EXPECT_TRUE(lock.AnotherInstanceRunning());
    }
    QtInstanceLock next("vantrel", dir.path());
    ASSERT_FALSE(next.AnotherInstanceRunning());
    QLockFile older(next.FilePath());
    older.setStaleLockTime(0);
    EXPECT_FALSE(older.tryLock(0));
}

TEST(SessionBus, LaunchIsSkippedOnlyWhereNoBusCanBeFoundOrStarted) {
    QTemporaryDir runtime, tools;
    QFile launcher(tools.filePath("dbus-launch"));
    ASSERT_TRUE(launcher.open(QIODevice::WriteOnly));
    launcher.setPermissions(QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    QFile(runtime.filePath("bus")).open(QIODevice::WriteOnly);
    const std::string none = QTemporaryDir().path().toStdString();  // gone: holds nothing
    const struct {
        std::optional<std::string> address, runtimeDir, path;
    } cases[] = {
        {"unix:path=/run/user/1000/bus", none, none},
        {std::nullopt, runtime.path().toStdString(), none},
        {std::nullopt, none, "/nowhere:" + tools.path().toStdString()},
        {std::nullopt, std::nullopt, none},  // nothing to find or start a bus with
    };
    for (const auto& c : cases) {
        const test::ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", c.address);
        const test::ScopedEnv runtimeDir("XDG_RUNTIME_DIR", c.runtimeDir);
        const test::ScopedEnv path("PATH", c.path);
        const bool hopeless = &c == &cases[3];
        if (hopeless && ::access("/usr/bin/dbus-launch", X_OK) == 0) continue;  // installed here
        EXPECT_EQ(SkipHopelessBusLaunch(), hopeless);
        EXPECT_EQ(test::EnvValue("DBUS_SESSION_BUS_ADDRESS"), hopeless ? "disabled:" : c.address);
    }
}

TEST(UnixSignals, TermIntAndHupArriveOnTheEventLoop) {
    UnixSignals watcher;
    std::vector<int> seen;
    QObject::connect(&watcher, &UnixSignals::received, [&](int n) { seen.push_back(n); });
    for (int n : {SIGTERM, SIGINT, SIGHUP}) ::raise(n);  // the process survives each one
    WaitFor([&] { return seen.size() >= 3; });
    EXPECT_EQ(seen, (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
}

}  // namespace
}  // namespace vantrel
