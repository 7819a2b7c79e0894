// The previous-instance test: a second lock, in this process or another, sees the first; the
// name is free again once the holder has ended, also when it was killed. The end request is
// seen once the setup sets it by the name it builds.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/windows/WinEndRequest.h"
#include "platform/windows/WinInstanceLock.h"

namespace vantrel {
namespace {

constexpr int kProbeSawAnother = 10;
constexpr int kProbeSawNone = 11;

std::wstring Widen(std::string_view text) {
    return std::wstring(text.begin(), text.end());  // the names here are ASCII
}

std::wstring UniqueBase() {
    return L"VantrelTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           Widen(::testing::UnitTest::GetInstance()->current_test_info()->name());
}

// Another copy of this executable in one of its helper modes (see main).
class Child {
  public:
    Child(const wchar_t* mode, const std::wstring& base) {
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(exe) + L"\" " + mode + L" " + base;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &info_) != FALSE;
        if (started_) CloseHandle(info_.hThread);
    }
    ~Child() {
        if (!started_) return;
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, INFINITE);
        CloseHandle(info_.hProcess);
    }
    bool Started() const { return started_; }
    DWORD ExitCode() {
        WaitForSingleObject(info_.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }
    // Waits for `event` or for the child's end, whichever comes first; true for the event.
    bool WaitFor(HANDLE event) {
        const HANDLE handles[] = {event, info_.hProcess};
        return WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0;
    }
    void Kill() {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, INFINITE);
    }

  private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// Set by a holder once it has the lock.
std::wstring ReadyEventName(const std::wstring& base) {
    return L"Local\\" + base + L"-ready";
}

DWORD Probe(const std::wstring& base) {
    Child child(L"--probe", base);
    return child.Started() ? child.ExitCode() : 0;
}

TEST(WinInstanceLock, NameIsPerSessionAndPerUser) {
    WinInstanceLock lock(L"Vantrel");
    const std::wstring& name = lock.MutexName();
    EXPECT_EQ(name.rfind(L"Local\\Vantrel-S-1-", 0), 0u) << std::string(name.begin(), name.end());
    EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos) << "no further namespace separator";
}

TEST(WinInstanceLock, SecondLockInTheSameProcessSeesTheFirstUntilItIsGone) {
    const std::wstring base = UniqueBase();
    auto first = std::make_unique<WinInstanceLock>(base);
    ASSERT_FALSE(first->AnotherInstanceRunning());
    EXPECT_FALSE(first->AnotherInstanceRunning()) << "the answer does not change";
    WinInstanceLock second(base);
    EXPECT_TRUE(second.AnotherInstanceRunning());
    first.reset();
    // The second copy, which ends at once in the program, must not keep the name taken.
    WinInstanceLock third(base);
    EXPECT_FALSE(third.AnotherInstanceRunning());
}

TEST(WinInstanceLock, AnotherProcessSeesTheHolder) {
    const std::wstring base = UniqueBase();
    {
        WinInstanceLock lock(base);
        ASSERT_FALSE(lock.AnotherInstanceRunning());
        EXPECT_EQ(Probe(base), static_cast<DWORD>(kProbeSawAnother));
    }
    EXPECT_EQ(Probe(base), static_cast<DWORD>(kProbeSawNone));
}

TEST(WinInstanceLock, AKilledHolderLeavesTheNameFree) {
    const std::wstring base = UniqueBase();
    const std::unique_ptr<void, decltype(&CloseHandle)> ready(
        CreateEventW(nullptr, TRUE, FALSE, ReadyEventName(base).c_str()), &CloseHandle);
    ASSERT_TRUE(ready);
    Child holder(L"--hold", base);
    ASSERT_TRUE(holder.Started());
    ASSERT_TRUE(holder.WaitFor(ready.get())) << "the holder ended without taking the lock";
    WinInstanceLock whileHeld(base);
    EXPECT_TRUE(whileHeld.AnotherInstanceRunning());
    holder.Kill();
    WinInstanceLock next(base);
    EXPECT_FALSE(next.AnotherInstanceRunning());
}

TEST(WinEndRequest, IsSeenOnceTheSetupSetsTheEventItNames) {
    const std::wstring base = UniqueBase();
    WinEndRequest request(base);
    ASSERT_NE(request.Handle(), nullptr);
    EXPECT_EQ(WaitForSingleObject(request.Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    // The name the setup builds: the instance mutex's and "-end".
    const std::wstring name = L"Local\\" + base + L"-" + CurrentUserSid() + L"-end";
    const std::unique_ptr<void, decltype(&CloseHandle)> setup(
        OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str()), &CloseHandle);
    ASSERT_TRUE(setup);
    ASSERT_TRUE(SetEvent(setup.get()));
    EXPECT_EQ(WaitForSingleObject(request.Handle(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
}

}  // namespace
}  // namespace vantrel

// Helper modes: "--probe <base>" exits with whether another holder was seen; "--hold <base>"
// takes the lock and waits to be killed.
int main(int argc, char** argv) {
    if (argc == 3) {
        const std::string_view mode = argv[1];
        vantrel::WinInstanceLock lock(vantrel::Widen(argv[2]));
        if (mode == "--probe")
            return lock.AnotherInstanceRunning() ? vantrel::kProbeSawAnother
                                                 : vantrel::kProbeSawNone;
        if (mode == "--hold") {
            if (lock.AnotherInstanceRunning()) return 2;
            const HANDLE ready =
                OpenEventW(EVENT_MODIFY_STATE, FALSE,
                           vantrel::ReadyEventName(vantrel::Widen(argv[2])).c_str());
            if (ready == nullptr || !SetEvent(ready)) return 3;
            Sleep(INFINITE);
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
