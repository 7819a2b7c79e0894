// How another program asks a running Vantrel to end, as SIGTERM does on Unix: a named event
// that the setup program sets before it replaces or removes the program files.
#pragma once

#include <memory>
#include <string>

namespace vantrel {

// The event is "<instance mutex name>-end" (WinInstanceLock): the setup finds the mutex to
// learn that the program runs and sets the event of the same name to ask it to save and end.
class WinEndRequest {
  public:
    explicit WinEndRequest(const std::wstring& baseName = L"Vantrel");

    // Signalled once an end is asked for; null when the event could not be made.
    void* Handle() const { return event_.get(); }
    const std::wstring& EventName() const { return name_; }

  private:
    struct HandleCloser {
        void operator()(void* handle) const;
    };

    std::wstring name_;
    std::unique_ptr<void, HandleCloser> event_;
};

}  // namespace vantrel
