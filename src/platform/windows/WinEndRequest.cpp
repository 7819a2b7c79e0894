#include "platform/windows/WinEndRequest.h"

#include <windows.h>

#include "platform/windows/WinInstanceLock.h"

namespace vantrel {

void WinEndRequest::HandleCloser::operator()(void* handle) const {
    CloseHandle(handle);
}

WinEndRequest::WinEndRequest(const std::wstring& baseName)
    : name_(InstanceMutexName(baseName) + L"-end"),
      // Manual reset: a request wakes every copy that holds the event, also a second one still
      // at its start, and none of them can take it from the copy that runs.
      event_(CreateEventW(nullptr, TRUE, FALSE, name_.c_str())) {}

}  // namespace vantrel
