#include "platform/windows/WinUserFolders.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace vantrel {

UserFolders WinUserFolders() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData == nullptr || *appData == L'\0') return {};
    const std::filesystem::path folder = std::filesystem::path(appData) / L"Vantrel";
    if (!folder.is_absolute()) return {};
    return {.config = folder, .data = folder};
}

bool FolderWritable(const std::filesystem::path& folder) {
    const std::filesystem::path probe =
        folder / (L".vantrel-write-test-" + std::to_wstring(GetCurrentProcessId()));
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace vantrel
