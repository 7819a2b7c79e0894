// The program's run without a widget: start-up, ticks, Apply and shutdown over fakes, with a
// view that only records what it was asked.
#include "core/program/ProgramRun.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/info/Documents.h"
#include "core/info/UpdateCheck.h"
#include "support/fakes/FakeDesktop.h"

namespace vantrel {
namespace {

struct RecordingView : ProgramView {
    bool trayIcon = false, hidden = false, menuTexts = false;
    int timerMs = 0;                             // 0: stopped
    std::chrono::milliseconds updateCheckIn{0};  // 0: not started
    int endStatus = -1;
    void SetMenuBitmaps() override {}
    void ApplyMenuTexts(const LangText&) override { menuTexts = true; }
    void AddTrayIcon() override { trayIcon = true; }
    void RemoveTrayIcon() override { trayIcon = false; }
    void HideWindow() override { hidden = true; }
    void StartPollTimer(int intervalMs) override { timerMs = intervalMs; }
    void StopPollTimer() override { timerMs = 0; }
    void StartUpdateCheckTimer(std::chrono::milliseconds delay) override { updateCheckIn = delay; }
    void StopUpdateCheckTimer() override { updateCheckIn = {}; }
    void RequestEnd(int status) override { endStatus = status; }
    void OpenOptions() override { shown += "options "; }
    void OpenAbout(const LangText&) override { shown += "about "; }
    void UnloadOptions() override { shown += "unloaded "; }
    std::string shown;
};

struct Rig : test::FakeProgram {
    ProgramState state;
    RecordingView view;
    ProgramRun run{state, FakePorts(true), Location(), view};
};

TEST(ProgramRun, StartsMovesClicksAndShutsDownThroughItsView) {
    Rig rig;
    rig.run.Initialize();
    ASSERT_EQ(rig.run.Start(), StartOutcome::Running);
    EXPECT_TRUE(rig.view.trayIcon && rig.view.hidden && rig.view.menuTexts);
    EXPECT_EQ(rig.view.timerMs, kPollIntervalMs);
    // The update check waits for the tray icon to be up.
    EXPECT_EQ(rig.view.updateCheckIn, kUpdateCheckDelay);
    EXPECT_TRUE(rig.http.requests.empty());
    rig.run.OnUpdateCheckDue();
    EXPECT_EQ(rig.http.requests.size(), 1u);

    rig.joystick.SetAxes(65535, 32767);
    rig.joystick.SetButtons(1);
    const std::int32_t startX = rig.pointer.position.x;
    rig.run.OnPollTick();
    EXPECT_GT(rig.pointer.position.x, startX);
    EXPECT_EQ(rig.run.Engine().HeldButton(), "1");

    rig.run.Shutdown();
    EXPECT_EQ(rig.buttons.events.back(), MouseButtonEvent::LeftUp);
    EXPECT_FALSE(rig.view.trayIcon);
    EXPECT_EQ(rig.view.timerMs, 0);
    EXPECT_EQ(rig.view.updateCheckIn.count(), 0);
    EXPECT_TRUE(std::filesystem::exists(rig.SettingsFile()));
}

TEST(ProgramRun, ApplyWakesTheSleepingEngineAndSaves) {
    Rig rig;
    ASSERT_EQ(rig.run.Start(), StartOutcome::Running);
    rig.run.OnPollTick();  // at rest: the timer stops, the wake source watches
    ASSERT_TRUE(rig.run.Scheduler().Asleep());

    rig.state.settings.PointerSpeed = "7";
    EXPECT_TRUE(rig.run.ApplySettings());
    EXPECT_EQ(rig.run.Engine().PointerStep(), 7.0f);
    EXPECT_EQ(rig.Saved().PointerSpeed, "7");
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
