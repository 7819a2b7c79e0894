// The previous-instance test: a per-user lock file, held with flock while the program runs.
#pragma once

#include <QString>

namespace vantrel {

class QtInstanceLock {
  public:
    // `folder` empty: the user's runtime folder, or the temporary folder when there is none.
    // A file there that is not this user's own plain file (a link, another user's) is never
    // written, and locks nobody out.
    explicit QtInstanceLock(const QString& baseName, const QString& folder = {});
    // Removes the file when this object held the lock.
    ~QtInstanceLock();
    QtInstanceLock(const QtInstanceLock&) = delete;
    QtInstanceLock& operator=(const QtInstanceLock&) = delete;

    // Takes the lock on the first call and holds it for the life of this object. True when
    // another running copy holds it; a lock left by a crashed copy is taken over.
    bool AnotherInstanceRunning();

    QString FilePath() const { return path_; }

  private:
    QString path_;
    int fd_ = -1;  // the locked file, while held
    bool decided_ = false;
    bool other_ = false;
};

}  // namespace vantrel
