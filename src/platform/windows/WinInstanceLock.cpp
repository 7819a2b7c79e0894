#include "platform/windows/WinInstanceLock.h"

#include <windows.h>

#include <sddl.h>

#include <utility>
#include <vector>

namespace vantrel {

void WinInstanceLock::HandleCloser::operator()(void* handle) const {
    CloseHandle(handle);
}

std::wstring CurrentUserSid() {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return {};
    const std::unique_ptr<void, void (*)(void*)> token(rawToken, [](void* h) { CloseHandle(h); });
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0) return {};
    std::vector<unsigned char> buffer(size);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return {};
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(user->User.Sid, &text)) return {};
    std::wstring sid(text);
    LocalFree(text);
    return sid;
}

std::wstring InstanceMutexName(std::wstring baseName) {
    std::wstring name = L"Local\\" + std::move(baseName);
    // Without a SID the session's namespace still keeps the test per session.
    const std::wstring sid = CurrentUserSid();
    if (!sid.empty()) name += L"-" + sid;
    return name;
}

WinInstanceLock::WinInstanceLock(std::wstring baseName)
    : name_(InstanceMutexName(std::move(baseName))) {}

bool WinInstanceLock::AnotherInstanceRunning() {
    if (decided_) return other_;
    decided_ = true;
    SetLastError(ERROR_SUCCESS);
    HANDLE handle = CreateMutexW(nullptr, FALSE, name_.c_str());
    const DWORD error = GetLastError();
    if (handle == nullptr) {
        // A mutex of this name that we may not open: a copy of ours running elevated, whose
        // higher integrity level keeps this one out. Any other failure: no answer, so no.
        return other_ = error == ERROR_ACCESS_DENIED;
    }
    mutex_.reset(handle);
    other_ = error == ERROR_ALREADY_EXISTS;
    // Only the first copy keeps the name alive; a second one holding it too would make a third
    // start see a copy running after the first one has ended.
    if (other_) mutex_.reset();
    return other_;
}

}  // namespace vantrel
