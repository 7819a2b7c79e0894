// Whether the tests run under wine, where injecting input and reading the real Run key harm
// no one's desktop.
#pragma once

#include <windows.h>

namespace vantrel::test {

inline bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace vantrel::test
