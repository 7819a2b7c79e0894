#include "core/startup/Startup.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace vantrel {
namespace {

// Records every step in order and answers with what the test set up.
class LoggingSteps : public StartupSteps {
  public:
    std::vector<std::string> log;
    int joysticks = 1;
    bool settingsFound = true;
    Settings fileSettings = DefaultSettings();
    JoystickInfo caps;
    bool otherInstance = false;
    std::string localeFile = "Italiano.lng";
    LangText fileTexts = [] {  // "T1" to "T50"
        LangText t;
        for (int i = 1; i <= 50; ++i) t[i] = "T" + std::to_string(i);
        return t;
    }();
    std::string warningTitle, warningText;

    void WriteManifest() override { log.push_back("manifest"); }
    void SetMenuBitmaps() override { log.push_back("bitmaps"); }
    int CountJoysticks() override {
        log.push_back("count");
        return joysticks;
    }
    SettingsLoad LoadSettings(Settings& s) override {
        log.push_back("load");
        if (!settingsFound) {
            s = DefaultSettings();
            return SettingsLoad::Missing;
        }
        s = fileSettings;
        return SettingsLoad::Found;
    }
    void ChooseLanguageFromLocale(Settings& s) override {
        log.push_back("locale");
        if (s.LanguageFile.find_first_not_of(' ') == std::string::npos) s.LanguageFile = localeFile;
    }
    void LoadTexts(const std::string& file, LangText& texts) override {
        log.push_back("texts:" + file);
        texts = fileTexts;
    }
    void ApplyMenuTexts(const LangText&) override { log.push_back("menu"); }
    void SyncRunEntry(const Settings& s) override {
        log.push_back("run:" + std::to_string(s.StartAtLogon));
    }
    bool AnotherInstanceRunning() override {
        log.push_back("instance");
        return otherInstance;
    }
    void ReadJoystickInfo(const Settings&, JoystickInfo& c) override {
        log.push_back("caps");
        c = caps;
    }
    void ShowWarning(const std::string& title, const std::string& text) override {
        log.push_back("warning");
        warningTitle = title;
        warningText = text;
    }
    void StartPolling(int ms) override { log.push_back("poll:" + std::to_string(ms)); }
    void AddTrayIcon() override { log.push_back("tray+"); }
    void RemoveTrayIcon() override { log.push_back("tray-"); }
    void HideWindow() override { log.push_back("hide"); }
    void CheckForUpdates() override { log.push_back("update"); }
    bool SaveSettings(const Settings& s) override {
        log.push_back("save:" + s.LanguageFile);
        return true;
    }
};

using Log = std::vector<std::string>;

// A start-up over the logging steps; each test sets the steps' answers up before it starts.
class StartupTest : public ::testing::Test {
  protected:
    LoggingSteps steps;
    ProgramState state;
    Startup startup{state, steps, "vantrel"};
};

TEST_F(StartupTest, RunsTheStepsInOrder) {
    steps.fileSettings.LanguageFile = "French.lng";
    startup.Initialize();
    EXPECT_EQ(startup.Start(), StartOutcome::Running);
    EXPECT_EQ(steps.log,
              (Log{"manifest", "bitmaps", "count", "load", "locale", "texts:French.lng", "menu",
                   "run:1", "instance", "caps", "poll:5", "tray+", "hide", "update"}));
    EXPECT_EQ(state.joystickCount, 1);
}

TEST_F(StartupTest, NoJoystickWarnsAndEndsWithoutIconOrSave) {
    steps.joysticks = 0;
    const StartOutcome outcome = startup.Start();
    EXPECT_EQ(outcome, StartOutcome::NoJoystick);
    EXPECT_NE(ExitStatus(outcome), 0);
    EXPECT_EQ(steps.warningTitle, "T4");
    EXPECT_EQ(steps.warningText, std::string("T24") + kParagraphBreak + "T25");
    const Log tail(steps.log.end() - 3, steps.log.end());
    EXPECT_EQ(tail, (Log{"caps", "warning", "tray-"}));
    for (const auto& step : steps.log) {
        EXPECT_NE(step, "tray+");
        EXPECT_NE(step.rfind("save", 0), 0u);
        EXPECT_NE(step.rfind("poll", 0), 0u);
    }
}

TEST_F(StartupTest, SecondInstanceNamesTheProgramAndEndsBeforeTheJoystickCheck) {
    steps.otherInstance = true;
    steps.joysticks = 0;
    const StartOutcome outcome = startup.Start();
    EXPECT_EQ(outcome, StartOutcome::SecondInstance);
    EXPECT_NE(ExitStatus(outcome), 0);
    EXPECT_NE(ExitStatus(outcome), ExitStatus(StartOutcome::NoJoystick));
    EXPECT_EQ(steps.warningTitle, "T4");
    EXPECT_EQ(steps.warningText, "T5 vantrel T6");
    // The logon entry was synchronised before the instance test; nothing after the message.
    EXPECT_EQ(Log(steps.log.end() - 3, steps.log.end()), (Log{"run:1", "instance", "warning"}));
}

TEST_F(StartupTest, FirstStartTakesDefaultsAndLocaleLanguageButLeavesTheLogonEntry) {
    steps.settingsFound = false;
    steps.localeFile = "Turkish.lng";
    EXPECT_EQ(startup.Start(), StartOutcome::Running);
    Settings expected = DefaultSettings();
    expected.LanguageFile = "Turkish.lng";
    EXPECT_EQ(state.settings, expected);
    EXPECT_EQ(steps.log, (Log{"bitmaps", "count", "load", "locale", "texts:Turkish.lng", "menu",
                              "instance", "caps", "poll:5", "tray+", "hide", "update"}));
}

// A pad's mapped A, B and X replace the defaults 1, 2, 3, but never buttons from a file, and
// only when all three can click.
TEST(StartupButtonsTest, FirstStartTakesThePadsMappedButtons) {
    struct Case {
        bool found;
        std::array<std::int16_t, 3> mapped, taken;
    };
    for (const Case& c : {Case{false, {1, 2, 4}, {1, 2, 4}}, Case{false, {4, 1, 32}, {1, 2, 3}},
                          Case{true, {1, 2, 4}, {7, 8, 9}}}) {
        SCOPED_TRACE(c.found);
        LoggingSteps steps;
        steps.settingsFound = c.found;
        steps.fileSettings.LeftButton = 7;
        steps.fileSettings.RightButton = 8;
        steps.fileSettings.MiddleButton = 9;
        steps.caps.mappedButtons = c.mapped;
        ProgramState state;
        Startup(state, steps, "vantrel").Start();
        const Settings& s = state.settings;
        EXPECT_EQ((std::array{s.LeftButton, s.RightButton, s.MiddleButton}), c.taken);
    }
}

TEST_F(StartupTest, EmptyStoredLanguageIsChosenFromTheLocaleAndSavedAtExit) {
    steps.fileSettings.LanguageFile = "   ";
    startup.Start();
    EXPECT_EQ(state.settings.LanguageFile, "Italiano.lng");
    startup.Shutdown();
    EXPECT_EQ(Log(steps.log.end() - 2, steps.log.end()), (Log{"save:Italiano.lng", "tray-"}));
}

TEST_F(StartupTest, UnloadSavesThenRemovesTheIconOnce) {
    startup.Start();
    steps.log.clear();
    startup.Shutdown();
    startup.Shutdown();  // a signal arriving after the exit entry must not save twice
    EXPECT_EQ(steps.log, (Log{"save:Italiano.lng", "tray-"}));
}

}  // namespace
}  // namespace vantrel
