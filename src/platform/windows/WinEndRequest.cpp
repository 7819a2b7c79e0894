#include "platform/windows/WinEndRequest.h"

#include <windows.h>

#include "platform/windows/WinInstanceLock.h"

namespace vantrel {

void WinEndRequest::HandleCloser::operator()(void* handle) const {
    CloseHandle(handle);
}

WinEndRequest::WinEndRequest(const std::wstring& baseName)
    : name_(InstanceMutexName(baseName) + L"-end"),
      // Auto-reset: one request wakes the program once.
      event_(CreateEventW(nullptr, FALSE, FALSE, name_.c_str())) {}

}  // namespace vantrel
