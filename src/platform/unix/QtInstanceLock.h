// The previous-instance test: a per-user lock file named after the executable's base name.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace vantrel {

class QtInstanceLock {
  public:
    // `folder` empty: the user's runtime folder, or the temporary folder when there is none.
    explicit QtInstanceLock(const QString& baseName, const QString& folder = {});

    // Takes the lock on the first call and holds it for the life of this object. True when
    // another running copy holds it; a lock left by a crashed copy is taken over.
    bool AnotherInstanceRunning();

    QString FilePath() const { return path_; }

  private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    bool decided_ = false;
    bool other_ = false;
};

}  // namespace vantrel
