#include "platform/windows/WinRunEntry.h"

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "core/startup/CommandLine.h"

namespace vantrel {

namespace {

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

}  // namespace

WinRunEntry::WinRunEntry(std::wstring subKey, std::wstring valueName)
    : subKey_(std::move(subKey)), valueName_(std::move(valueName)) {}

std::optional<std::wstring> WinRunEntry::CommandFor(const std::filesystem::path& executable) {
    const std::wstring& path = executable.native();
    if (!executable.is_absolute() || path.find(L'"') != std::wstring::npos) return std::nullopt;
    return L"\"" + path + L"\" " + std::wstring(kAtLogonOption.begin(), kAtLogonOption.end());
}

bool WinRunEntry::Write(const std::filesystem::path& executable) {
    const std::optional<std::wstring> command = CommandFor(executable);
    if (!command) return false;
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return false;
    const Key key(raw);
    // REG_SZ data counts its terminating NUL.
    const DWORD bytes = static_cast<DWORD>((command->size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), valueName_.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(command->c_str()), bytes) == ERROR_SUCCESS;
}

bool WinRunEntry::Remove() {
    HKEY raw = nullptr;
    const LSTATUS opened =
        RegOpenKeyExW(HKEY_CURRENT_USER, subKey_.c_str(), 0, KEY_SET_VALUE, &raw);
    if (opened == ERROR_FILE_NOT_FOUND) return true;  // no key, so no value either
    if (opened != ERROR_SUCCESS) return false;
    const Key key(raw);
    const LSTATUS deleted = RegDeleteValueW(key.get(), valueName_.c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

}  // namespace vantrel
