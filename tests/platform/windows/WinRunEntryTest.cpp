// The Run value in the registry: written quoted as REG_SZ, replaced, deleted, read back with the
// registry API as Windows reads it at logon.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <random>
#include <string>

#include "core/startup/RunEntry.h"
#include "platform/windows/WinRunEntry.h"
#include "support/Wine.h"

namespace vantrel {
namespace {

struct Value {
    DWORD type = REG_NONE;
    std::wstring data;
};

std::optional<Value> ReadValue(const std::wstring& subKey, const std::wstring& name) {
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_ANY, &type, nullptr,
                     &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_ANY, &type,
                     data.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(wcsnlen(data.c_str(), data.size()));
    return Value{type, data};
}

// A key of its own per test below HKCU\Software\VantrelTests, removed afterwards.
class WinRunEntryTest : public ::testing::Test {
  protected:
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

    std::optional<Value> Stored() const { return ReadValue(key_, L"Vantrel"); }
    // The value holds `path` quoted and the logon argument, as a plain string.
    void ExpectStored(const std::wstring& path) const {
        const auto value = Stored();
        ASSERT_TRUE(value);
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(value->data, L"\"" + path + L"\" --at-logon");
    }

    const std::wstring key_ =
        L"Software\\VantrelTests\\Run" + std::to_wstring(std::random_device{}());
    WinRunEntry entry_{key_, L"Vantrel"};
};

// Spaces and accents are kept whole inside the quotes.
TEST_F(WinRunEntryTest, WritesTheQuotedPathAndTheLogonArgumentAsAPlainString) {
    for (const std::wstring path : {L"C:\\Programs\\Vantrel\\Vantrel.exe",
                                    L"C:\\Program Files\\J\u00fcrgen's Tools\\Vantrel.exe"}) {
        ASSERT_TRUE(entry_.Write(path));
        ExpectStored(path);
    }
}

TEST_F(WinRunEntryTest, WriteReplacesTheOldPath) {
    ASSERT_TRUE(entry_.Write(L"C:\\Old Place\\Vantrel.exe"));
    ASSERT_TRUE(entry_.Write(L"D:\\New\\Vantrel.exe"));
    ExpectStored(L"D:\\New\\Vantrel.exe");
}

TEST_F(WinRunEntryTest, RemoveDeletesAndAMissingValueOrKeyCountsAsRemoved) {
    EXPECT_TRUE(entry_.Remove()) << "no key yet";
    ASSERT_TRUE(entry_.Write(L"C:\\Vantrel.exe"));
    // A neighbour in the same key must survive.
    const DWORD other = 7;
    ASSERT_EQ(
        RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"Other", REG_DWORD, &other, sizeof other),
        ERROR_SUCCESS);
    EXPECT_TRUE(entry_.Remove());
    EXPECT_FALSE(Stored());
    EXPECT_TRUE(ReadValue(key_, L"Other"));
    EXPECT_TRUE(entry_.Remove()) << "key there, value gone";
}

TEST_F(WinRunEntryTest, RelativePathIsRefusedAndLeavesTheValueAlone) {
    ASSERT_TRUE(entry_.Write(L"C:\\Vantrel.exe"));
    EXPECT_FALSE(entry_.Write(L"Vantrel.exe"));
    EXPECT_FALSE(entry_.Write(L"Programs\\Vantrel.exe"));
    ExpectStored(L"C:\\Vantrel.exe");
}

TEST_F(WinRunEntryTest, SyncFollowsTheSetting) {
    Settings settings;
    settings.StartAtLogon = 1;
    ASSERT_TRUE(SyncRunEntry(entry_, settings, L"C:\\Tools\\Vantrel.exe"));
    EXPECT_TRUE(Stored());
    settings.StartAtLogon = 2;
    ASSERT_TRUE(SyncRunEntry(entry_, settings, L"C:\\Tools\\Vantrel.exe"));
    EXPECT_FALSE(Stored());
}

// The real key, only in wine's throw-away prefix: never on a developer's own logon list.
TEST(WinRunEntryRealKey, UsesTheCurrentUsersRunKey) {
    if (!test::RunningUnderWine()) GTEST_SKIP() << "writes the real Run key: wine only";
    const std::wstring run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    WinRunEntry entry;
    ASSERT_TRUE(entry.Write(L"C:\\Program Files\\Vantrel\\Vantrel.exe"));
    const auto value = ReadValue(run, L"Vantrel");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, L"\"C:\\Program Files\\Vantrel\\Vantrel.exe\" --at-logon");
    EXPECT_TRUE(entry.Remove());
    EXPECT_FALSE(ReadValue(run, L"Vantrel"));
}

}  // namespace
}  // namespace vantrel
