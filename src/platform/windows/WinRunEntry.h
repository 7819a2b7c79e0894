// Start at logon on Windows: the per-user value "Vantrel" under
// HKCU\Software\Microsoft\Windows\CurrentVersion\Run, a REG_SZ holding the quoted program path
// and the at-logon argument.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/startup/RunEntryPort.h"

namespace vantrel {

class WinRunEntry final : public RunEntryPort {
  public:
    static constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const wchar_t* kValueName = L"Vantrel";

    WinRunEntry() = default;
    // Another key below HKEY_CURRENT_USER and another value name (tests).
    WinRunEntry(std::wstring subKey, std::wstring valueName);

    // Creates or replaces the value, creating the key when it is missing.
    bool Write(const std::filesystem::path& executable) override;
    // True when no value is left, also when there was none (or no key).
    bool Remove() override;

    // The data written for `executable`: its path in double quotes, so that a path with
    // spaces cannot start a program named after a leading part of it ("C:\Program.exe"), then
    // kAtLogonOption.
    // Nothing for a relative path, which logon would resolve against the wrong folder, or a
    // path holding a double quote, which no Windows file name has.
    static std::optional<std::wstring> CommandFor(const std::filesystem::path& executable);

  private:
    std::wstring subKey_ = kRunKey;
    std::wstring valueName_ = kValueName;
};

}  // namespace vantrel
