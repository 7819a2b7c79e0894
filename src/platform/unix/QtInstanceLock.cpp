#include "platform/unix/QtInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>

namespace vantrel {

namespace {

// True while `fd` is still the file at `path`: a copy ending at this moment unlinks the file it
// locked, and a lock on that orphan would shut nobody out.
bool StillThere(int fd, const QByteArray& path) {
    struct stat held {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::lstat(path.constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// True when the open file is this user's own lock: the temporary folder is shared, and a file
// another user put there (a link to one of this user's files, or one they hold locked) would
// otherwise be overwritten or keep this user from starting.
bool OwnLockFile(int fd) {
    struct stat file {};
    return ::fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && file.st_uid == ::geteuid() &&
           file.st_nlink == 1;
}

}  // namespace

QtInstanceLock::QtInstanceLock(const QString& baseName, const QString& folder) {
    QString dir = folder;
    QString name = baseName + ".lock";
    if (dir.isEmpty()) {
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (dir.isEmpty()) {
            // The temporary folder is shared by all users: keep the lock per user.
            dir = QDir::tempPath();
            name = baseName + "-" + QString::number(getuid()) + ".lock";
        }
    }
    path_ = QDir(dir).filePath(name);
}

QtInstanceLock::~QtInstanceLock() {
    if (fd_ < 0) return;
    // Removed while still locked, as QLockFile does, so no later copy finds a stale file.
    static_cast<void>(::unlink(QFile::encodeName(path_).constData()));
    ::close(fd_);
}

// QLockFile would do, but it syncs the file to the disk on every start: a disk flush of several
// milliseconds (and far more on a busy disk) wherever the runtime folder is not in memory. A
// lock concerns running processes only, and the kernel drops a flock when its process ends,
// however it ends. The file keeps QLockFile's lock and contents, so older copies of the program,
// which use QLockFile, and this one keep seeing each other.
bool QtInstanceLock::AnotherInstanceRunning() {
    if (decided_) return other_;
    decided_ = true;
    const QByteArray path = QFile::encodeName(path_);
    for (int attempt = 0; attempt < 3; ++attempt) {
        // Never through a symbolic link, and without blocking on a FIFO put in its place.
        const int fd =
            ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
        // A lock that cannot be created at all (unwritable folder), or a file that is not this
        // user's own, must not lock the user out.
        if (fd < 0) return other_ = false;
        if (!OwnLockFile(fd)) {
            ::close(fd);
            return other_ = false;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            other_ = errno == EWOULDBLOCK;
            ::close(fd);
            return other_;
        }
        if (!StillThere(fd, path)) {
            ::close(fd);
            continue;
        }
        fd_ = fd;
        // What QLockFile writes: an older copy that finds the file asks whether this process,
        // under this name, still runs on this machine.
        const QByteArray owner =
            QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
            QFile::encodeName(QFileInfo(QCoreApplication::applicationFilePath()).fileName()) +
            '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
        // Nothing to do when it fails: this program goes by the lock, not by the contents.
        static_cast<void>(::ftruncate(fd_, 0));
        static_cast<void>(::pwrite(fd_, owner.constData(), owner.size(), 0));
        return other_ = false;
    }
    return other_ = false;
}

}  // namespace vantrel
