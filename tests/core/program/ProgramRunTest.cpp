// The program's run without a widget: start-up, ticks, Apply and shutdown over fakes, with a
// view that only records what it was asked.
#include "core/program/ProgramRun.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "core/info/Documents.h"
#include "core/info/UpdateCheck.h"
#include "support/fakes/FakeDesktop.h"

namespace vantrel {
namespace {

using Log = std::vector<std::string>;

// Records what the run asked of it: the calls that have an order to keep in `log`, the rest as
// the state they leave.
struct RecordingView : ProgramView {
    Log log;
    bool trayIcon = false, ticking = false;
    std::chrono::milliseconds updateCheckIn{0};  // 0: not started
    int endStatus = -1;
    std::string shown;
    std::string Joined() const {
        std::string all;
        for (const std::string& entry : log) all += (all.empty() ? "" : " ") + entry;
        return all;
    }
    void SetMenuBitmaps() override { log.push_back("bitmaps"); }
    void ApplyMenuTexts(const LangText& texts) override {
        log.push_back("menu:" + texts[TextId::MessageTitle]);
    }
    void AddTrayIcon() override { trayIcon = true, log.push_back("tray+"); }
    void RemoveTrayIcon() override { trayIcon = false, log.push_back("tray-"); }
    void ShowTrayState(TrayState state, const LangText&) override {
        if (state == TrayState::WaitingForJoystick) log.push_back("waiting");
    }
    void HideWindow() override { log.push_back("hide"); }
    void StartTicking() override { ticking = true, log.push_back("ticking"); }
    void StopTicking() override { ticking = false; }
    void StartUpdateCheckTimer(std::chrono::milliseconds delay) override {
        updateCheckIn = delay, log.push_back("update");
    }
    void StopUpdateCheckTimer() override { updateCheckIn = {}; }
    void RequestEnd(int status) override { endStatus = status; }
    void OpenOptions() override { shown += "options "; }
    void OpenAbout(const LangText&) override { shown += "about "; }
    void UnloadOptions() override { shown += "unloaded "; }
};

// A run over fakes whose language files name themselves in the message title (line 4), and
// whose instance test goes into the view's log with the logon entry's writes so far.
struct Rig : test::FakeProgram {
    ProgramState state;
    RecordingView view;
    ProgramRun run{state, LoggedPorts(), Location(), view};

    Rig() {
        for (const char* name : {"French", "Italiano", "English"})
            folder.Write(std::filesystem::path("Lang") / (std::string(name) + ".lng"),
                         std::string("01=\r\n02=\r\n03=\r\n04=") + name + "\r\n");
    }
    ProgramPorts LoggedPorts() {
        ProgramPorts ports = FakePorts(true);
        ports.anotherInstanceRunning = [this] {
            view.log.push_back("instance:" + std::to_string(runEntry.writes.size()));
            return otherInstance;
        };
        return ports;
    }
};

constexpr std::string_view kStored = "1\r\n2\r\n3\r\n2\r\n1\r\n1\r\n0\r\nFrench.lng\r\n";

// Texts before the menu shows them, the logon entry (only from a file the user saved) before
// the instance test, and the early ends before polling or the tray icon start.
TEST(ProgramRunStart, TakesItsStepsInOrderAndEndsEarlyWithAMessage) {
    const struct {
        const char* name;
        std::string_view stored;  // empty: a first start
        bool otherInstance, joystick;
        StartOutcome outcome;
        std::string log;      // the view's log, a space between entries
        std::string message;  // "box": the end's message, in the file's language
        StartedBy by = StartedBy::User;
    } cases[] = {
        {"stored", kStored, false, true, StartOutcome::Running,
         "bitmaps menu:French instance:1 ticking tray+ hide update", ""},
        {"first_start", "", false, true, StartOutcome::Running,
         "bitmaps menu:Italiano instance:0 ticking tray+ hide update", ""},
        {"second_instance", kStored, true, false, StartOutcome::SecondInstance,
         "bitmaps menu:French instance:1", "French vantrel French"},
        {"no_joystick", kStored, false, false, StartOutcome::NoJoystick,
         "bitmaps menu:French instance:1 tray-", NoJoystickText(LangText{})},
        {"no_joystick_at_logon", kStored, false, false, StartOutcome::Running,
         "bitmaps menu:French instance:1 ticking tray+ waiting hide update", "", StartedBy::Logon},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        if (!c.stored.empty()) test::WriteFile(rig.SettingsFile(), c.stored);
        rig.otherInstance = c.otherInstance;
        if (!c.joystick) rig.joystick.Unplug(0);
        rig.run.Initialize();
        EXPECT_TRUE(std::filesystem::exists(rig.folder.path() / "vantrel.exe.manifest"));
        EXPECT_EQ(rig.run.Start(c.by), c.outcome);
        EXPECT_EQ(rig.view.Joined(), c.log);
        ASSERT_EQ(rig.boxes.shown.size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ(rig.boxes.shown[0].title, "French");
            EXPECT_EQ(rig.boxes.shown[0].text, c.outcome == StartOutcome::SecondInstance
                                                   ? SecondInstanceText(rig.state.texts, "vantrel")
                                                   : NoJoystickText(rig.state.texts));
        }
        EXPECT_EQ(ExitStatus(c.outcome) == 0, c.outcome == StartOutcome::Running);
        // A start writes no settings: only the end of a run does.
        EXPECT_EQ(test::ReadFile(rig.SettingsFile()), c.stored);
    }
    EXPECT_NE(ExitStatus(StartOutcome::SecondInstance), ExitStatus(StartOutcome::NoJoystick));
}

// A first start takes the defaults, the locale's language and the pad's mapped A, B and X
// (when all three can click); buttons from a file are never replaced.
TEST(ProgramRunStart, FirstStartTakesDefaultsTheLocalesLanguageAndThePadsMappedButtons) {
    const struct {
        bool stored;
        std::array<std::int16_t, 3> mapped, taken;
    } cases[] = {{false, {1, 2, 4}, {1, 2, 4}},
                 {false, {4, 1, 32}, {1, 2, 3}},
                 {true, {1, 2, 4}, {7, 8, 9}}};
    for (const auto& c : cases) {
        Rig rig;
        if (c.stored)
            test::WriteFile(rig.SettingsFile(), "7\r\n8\r\n9\r\n2\r\n1\r\n1\r\n0\r\n\r\n");
        rig.joystick.At(0).caps.mappedButtons = c.mapped;
        ASSERT_EQ(rig.run.Start(), StartOutcome::Running);
        const Settings& s = rig.state.settings;
        EXPECT_EQ((std::array{s.LeftButton, s.RightButton, s.MiddleButton}), c.taken) << c.stored;
        // An empty stored language is chosen from the locale too, and saved at the end.
        EXPECT_EQ(s.LanguageFile, "Italiano.lng");
        EXPECT_EQ(s.PointerSpeed, "2");
    }
}

TEST(ProgramRun, StartsAppliesMovesClicksAndShutsDownThroughItsView) {
    Rig rig;
    rig.run.Initialize();
    ASSERT_EQ(rig.run.Start(), StartOutcome::Running);
    EXPECT_TRUE(rig.view.trayIcon && rig.view.ticking);
    // The update check waits for the tray icon to be up.
    EXPECT_EQ(rig.view.updateCheckIn, kUpdateCheckDelay);
    EXPECT_TRUE(rig.http.requests.empty());
    rig.run.OnUpdateCheckDue();
    EXPECT_EQ(rig.http.requests.size(), 1u);

    rig.run.OnPollTick();  // at rest: the timer stops, the wake source watches
    ASSERT_TRUE(rig.run.Scheduler().Asleep());
    rig.state.settings.PointerSpeed = "7";  // an Apply wakes the sleeping engine and saves
    EXPECT_TRUE(rig.run.ApplySettings());
    EXPECT_EQ(rig.run.Engine().PointerStep(), 7.0f);
    EXPECT_EQ(rig.Saved().PointerSpeed, "7");

    rig.joystick.SetAxes(65535, 32767);
    rig.joystick.SetButtons(1);
    const std::int32_t startX = rig.pointer.position.x;
    rig.run.OnPollTick();
    EXPECT_GT(rig.pointer.position.x, startX);
    EXPECT_EQ(rig.run.Engine().HeldButton(), "1");

    rig.view.log.clear();
    rig.run.Shutdown();
    rig.run.Shutdown();  // a signal arriving after the exit entry must not save twice
    EXPECT_EQ(rig.buttons.events.back(), MouseButtonEvent::LeftUp);
    EXPECT_EQ(rig.view.log, Log{"tray-"});
    EXPECT_FALSE(rig.view.ticking);
    EXPECT_EQ(rig.view.updateCheckIn.count(), 0);
    EXPECT_EQ(rig.Saved().LanguageFile, "Italiano.lng");
}

// Each entry does its one thing, without a widget: a page, a window through the view, or the end.
TEST(ProgramRun, MenuEntriesOpenTheirPageOrWindowOrEnd) {
    const struct {
        MenuAction action;
        std::string page;  // the address opened, when any
        std::string shown;
        int endStatus;
    } cases[] = {
        {MenuAction::OpenOptions, "", "options ", -1},
        {MenuAction::OpenAbout, "", "about ", -1},
        {MenuAction::GetMoreLanguages, PageAddress(WebPage::Languages), "", -1},
        {MenuAction::OpenDonationPage, PageAddress(WebPage::Donation), "", -1},
        {MenuAction::OpenUpdatesPage, PageAddress(WebPage::Product), "", -1},
        {MenuAction::Exit, "", "", 0},
    };
    for (const auto& c : cases) {
        Rig rig;
        ASSERT_EQ(rig.run.Start(), StartOutcome::Running);
        rig.run.OnMenuChosen(c.action);
        EXPECT_EQ(rig.opener.addresses,
                  c.page.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.page});
        EXPECT_EQ(rig.view.shown, c.shown);
        EXPECT_EQ(rig.view.endStatus, c.endStatus);
        EXPECT_EQ(rig.view.trayIcon, c.endStatus != 0);  // Exit ran the shutdown
    }
}

}  // namespace
}  // namespace vantrel
