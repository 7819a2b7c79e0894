// The previous-instance test on Windows: a named mutex in the session's namespace, one per user.
#pragma once

#include <memory>
#include <string>

namespace vantrel {

// The mutex is "Local\<base name>-<user SID>". Local: the pointer and the tray belong to a
// session, so a copy in another session (fast user switching, remote desktop) is no conflict.
// The SID: processes of other users can run in one session (runas), and unlike a user name
// it is unique across domains and holds no backslash, which object names cannot take.
class WinInstanceLock {
  public:
    explicit WinInstanceLock(std::wstring baseName = L"Vantrel");

    // Creates the mutex on the first call and holds it for the life of this object. True when
    // another copy holds it. The system drops the mutex with the last handle, so a copy that
    // crashed never blocks the next start. When the mutex cannot be made at all, the answer is
    // false: a broken test must not lock the user out.
    bool AnotherInstanceRunning();

    const std::wstring& MutexName() const { return name_; }

  private:
    struct HandleCloser {
        void operator()(void* handle) const;
    };

    std::wstring name_;
    std::unique_ptr<void, HandleCloser> mutex_;
    bool decided_ = false;
    bool other_ = false;
};

// "Local\<base name>-<user SID>", the name the lock takes (see above).
std::wstring InstanceMutexName(std::wstring baseName);

// The current user's SID as text ("S-1-5-21-..."); empty when the token cannot be read.
std::wstring CurrentUserSid();

}  // namespace vantrel
