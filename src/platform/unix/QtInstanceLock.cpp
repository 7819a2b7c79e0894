#include "platform/unix/QtInstanceLock.h"

#include <unistd.h>
#include <QDir>
#include <QStandardPaths>

namespace vantrel {

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

bool QtInstanceLock::AnotherInstanceRunning() {
    if (decided_) return other_;
    decided_ = true;
    lock_ = std::make_unique<QLockFile>(path_);
    // Never stale by age: only a lock whose process is gone is taken over.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) return other_ = false;
    // A lock that cannot be created at all (unwritable folder) must not lock the user out.
    other_ = lock_->error() == QLockFile::LockFailedError;
    return other_;
}

}  // namespace vantrel
