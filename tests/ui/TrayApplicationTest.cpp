// The main window with fakes for every port, in a program folder of its own: start-up, the
// early ends, the tray menu's entries and the ways a run ends.
#include "ui/TrayApplication.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <filesystem>

#include <gtest/gtest.h>

#include "core/info/Documents.h"
#include "core/text/BuiltInTexts.h"
#include "core/text/LanguageFile.h"
#include "platform/unix/UnixSignals.h"
#include "support/ScreenWait.h"
#include "support/fakes/FakeDesktop.h"
#include "ui/AboutWindow.h"
#include "ui/OptionsDialog.h"
#include "ui/TrayIcon.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

// A program folder with the shipped language files and documents, and a window over fakes.
struct Rig : test::FakeProgram {
    bool withWake = false;  // false: no wake source, the timer never stops
    ProgramState state;
    std::unique_ptr<TrayApplication> window;

    Rig() {
        fs::copy(fs::path(VANTREL_SOURCE_DIR) / "resources" / "Lang", folder / "Lang");
        for (const auto& doc :
             fs::directory_iterator(fs::path(VANTREL_SOURCE_DIR) / "resources" / "docs"))
            fs::copy(doc.path(), folder / doc.path().filename().string());
        joystick.Plug(3);
    }

    TrayApplication& Make() {
        window = std::make_unique<TrayApplication>(state, FakePorts(withWake), Location());
        return *window;
    }
    StartOutcome Start() {
        Make().Run().Initialize();
        return window->Run().Start();
    }
    // The update check's delay cut short; true once its request went out.
    bool RunUpdateCheckNow() {
        window->UpdateCheckTimer()->start(0);
        return test::WaitFor([this] { return !http.requests.empty(); }, 10000);
    }
    // Types `speed` into the options dialog and presses Apply.
    void ApplySpeedInOptions(const char* speed) {
        window->OnMenuChosen(MenuAction::OpenOptions);
        OptionsDialog* dialog = window->Options().Dialog();
        ASSERT_NE(dialog, nullptr);
        QLineEdit* edit = dialog->findChild<QComboBox*>("speedList")->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, speed);
        dialog->findChild<QPushButton*>("applyButton")->click();
    }
    std::string Caption(std::string_view name) {
        return window->Tray().Entry(*TrayMenuPosition(name))->text().toStdString();
    }
};

constexpr std::string_view kStoredSettings = "2\r\n1\r\n3\r\n4\r\n1\r\n1\r\n0\r\nFrench.lng\r\n";

TEST(TrayApplicationStart, RunsWithTimerTrayAndHiddenWindow) {
    Rig rig;
    ASSERT_EQ(rig.Start(), StartOutcome::Running);
    TrayApplication& window = *rig.window;
    EXPECT_EQ(window.objectName(), "Vantrel");
    EXPECT_EQ(window.findChild<QTimer*>("pollTimer"), window.PollTimer());
    EXPECT_EQ(window.findChild<QLabel*>("heldButtonLabel"), window.HeldButtonLabel());
    EXPECT_EQ(window.findChild<QLabel*>("positionLabel"), window.PositionLabel());
    EXPECT_TRUE(window.PollTimer()->isActive());
    EXPECT_EQ(window.PollTimer()->interval(), 5);
    EXPECT_EQ(window.PollTimer()->timerType(), Qt::PreciseTimer);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.Tray().SystemTrayIcon().isVisible());
    EXPECT_TRUE(window.Tray().SystemTrayIcon().toolTip().isEmpty());
    EXPECT_TRUE(fs::exists(rig.folder / "vantrel.exe.manifest"));
    EXPECT_TRUE(rig.http.requests.empty());  // the update check runs once the icon is up
    ASSERT_TRUE(rig.RunUpdateCheckNow());
}

TEST(TrayApplicationStart, FirstStartSpeaksTheLocaleLanguageAndLeavesTheLogonEntryAlone) {
    Rig rig;
    ASSERT_EQ(rig.Start(), StartOutcome::Running);
    EXPECT_EQ(rig.state.settings.LanguageFile, "Italiano.lng");
    EXPECT_FALSE(rig.state.texts[7].empty());
    EXPECT_EQ(rig.Caption("options"), rig.state.texts[7]);
    EXPECT_TRUE(rig.runEntry.writes.empty());
    EXPECT_EQ(rig.runEntry.removes, 0);
    EXPECT_FALSE(fs::exists(rig.SettingsFile()));  // written at the first exit, not before
}

TEST(TrayApplicationStart, StoredSettingsChooseLanguageAndLogonEntry) {
    Rig rig;
    test::WriteFile(rig.SettingsFile(), kStoredSettings);
    ASSERT_EQ(rig.Start(), StartOutcome::Running);
    EXPECT_EQ(rig.state.settings.LeftButton, 2);
    EXPECT_EQ(rig.Caption("exit"), rig.state.texts[13]);
    EXPECT_NE(rig.state.texts[13], "");
    EXPECT_NE(rig.state.texts[13], "&Esci");  // the built-in caption
    ASSERT_EQ(rig.runEntry.writes.size(), 1u);
    EXPECT_EQ(rig.runEntry.writes[0], rig.folder / "vantrel");
}

// Without a pad, or beside a running copy: one message, then the end with a status of its own,
// and no timer, icon, update check or settings file.
struct EarlyEndCase {
    StartOutcome outcome, other;
    std::string (*message)(const LangText&);
};
class TrayApplicationEarlyEnd : public ::testing::TestWithParam<EarlyEndCase> {};

TEST_P(TrayApplicationEarlyEnd, WarnsAndEndsWithoutIconOrSettingsFile) {
    Rig rig;
    if (GetParam().outcome == StartOutcome::NoJoystick) {
        rig.joystick.Unplug(0);
        rig.joystick.Unplug(3);
    }
    rig.otherInstance = GetParam().outcome == StartOutcome::SecondInstance;
    const StartOutcome outcome = rig.Start();
    EXPECT_EQ(outcome, GetParam().outcome);
    EXPECT_NE(ExitStatus(outcome), 0);
    EXPECT_NE(ExitStatus(outcome), ExitStatus(GetParam().other));
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].title, rig.state.texts[4]);
    EXPECT_EQ(rig.boxes.shown[0].text, GetParam().message(rig.state.texts));
    EXPECT_FALSE(rig.window->PollTimer()->isActive());
    EXPECT_FALSE(rig.window->Tray().SystemTrayIcon().isVisible());
    EXPECT_TRUE(rig.http.requests.empty());
    EXPECT_FALSE(fs::exists(rig.SettingsFile()));
}

INSTANTIATE_TEST_SUITE_P(
    Ends, TrayApplicationEarlyEnd,
    ::testing::Values(EarlyEndCase{StartOutcome::NoJoystick, StartOutcome::SecondInstance,
                                   [](const LangText& t) { return t[24] + "\n\n" + t[25]; }},
                      EarlyEndCase{StartOutcome::SecondInstance, StartOutcome::NoJoystick,
                                   [](const LangText& t) { return t[5] + " vantrel " + t[6]; }}));

TEST(TrayApplicationRun, TicksShowHeldButtonAndPosition) {
    Rig rig;
    rig.joystick.Unplug(3);
    rig.joystick.Plug(1);
    ASSERT_EQ(rig.Start(), StartOutcome::Running);
    rig.state.settings.JoystickId = 1;  // as the options dialog sets it: read on the next tick
    rig.joystick.SetButtons(1, 1);
    rig.joystick.SetAxes(0, 32767, 1);
    rig.window->OnPollTick();
    EXPECT_EQ(rig.joystick.lastReadId, 1);
    EXPECT_EQ(rig.window->HeldButtonLabel()->text(), "1");
    EXPECT_EQ(rig.window->PositionLabel()->text(), " 638 -  512");

    const int before = rig.joystick.stateReads;
    EXPECT_TRUE(test::WaitFor([&] { return rig.joystick.stateReads >= before + 5; }))
        << "the timer drives the ticks";
}

TEST(TrayApplicationEnd, ExitSavesReleasesTheButtonAndRemovesTheIconOnce) {
    Rig rig;
    ASSERT_EQ(rig.Start(), StartOutcome::Running);
    rig.joystick.SetButtons(1);
    rig.window->OnPollTick();
    ASSERT_EQ(rig.buttons.Take(), std::vector<MouseButtonEvent>{MouseButtonEvent::LeftDown});
    rig.state.settings.PointerSpeed = "7";
    QSignalSpy end(rig.window.get(), &TrayApplication::endRequested);

    rig.window->OnMenuChosen(MenuAction::Exit);
    EXPECT_EQ(end.count(), 1);
    EXPECT_EQ(rig.buttons.Take(), std::vector<MouseButtonEvent>{MouseButtonEvent::LeftUp});
    EXPECT_FALSE(rig.window->PollTimer()->isActive());
    EXPECT_FALSE(rig.window->Tray().SystemTrayIcon().isVisible());
    const Settings saved = rig.Saved();
    EXPECT_EQ(saved.PointerSpeed, "7");
    EXPECT_EQ(saved.LanguageFile, "Italiano.lng");

    fs::remove(rig.SettingsFile());
    rig.window->Run().Shutdown();  // the loop's own end after the exit entry
    EXPECT_FALSE(fs::exists(rig.SettingsFile()));
}

TEST(TrayApplicationEnd, AcceptedUpdateEndsAtOnceWithoutSaving) {
    Rig rig;
    ASSERT_EQ(rig.Start(), StartOutcome::Running);
    QSignalSpy end(rig.window.get(), &TrayApplication::endRequested);
    rig.boxes.answerYes = true;
    ASSERT_TRUE(rig.RunUpdateCheckNow());
    rig.http.Answer(std::string("999999999"));
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_TRUE(rig.boxes.shown[0].question);
    EXPECT_EQ(rig.opener.addresses, std::vector<std::string>{PageAddress(WebPage::Product)});
    EXPECT_EQ(end.count(), 1);
    EXPECT_TRUE(rig.window->Run().EndedAtOnce());
    EXPECT_FALSE(rig.window->PollTimer()->isActive());
    rig.window->Run().Shutdown();
    EXPECT_FALSE(fs::exists(rig.SettingsFile()));
}

TEST(TrayApplicationEnd, TerminationSignalRunsTheShutdown) {
    Rig rig;
    ASSERT_EQ(rig.Start(), StartOutcome::Running);
    // As the Linux program wires it: a termination signal quits the event loop.
    UnixSignals unixSignals;
    rig.window->ConnectShutdown(*QCoreApplication::instance());
    QObject::connect(&unixSignals, &UnixSignals::received, QCoreApplication::instance(),
                     &QCoreApplication::quit);
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });  // a hung test fails
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(fs::exists(rig.SettingsFile()));
    EXPECT_FALSE(rig.window->Tray().SystemTrayIcon().isVisible());
}

TEST(TrayApplicationMenu, EntriesReachTheirHandlers) {
    Rig rig;
    ASSERT_EQ(rig.Start(), StartOutcome::Running);
    TrayIcon& tray = rig.window->Tray();
    const auto choose = [&](std::string_view name) {
        tray.Entry(*TrayMenuPosition(name))->trigger();
    };

    choose("moreLanguages");
    choose("donation");
    choose("updates");
    EXPECT_EQ(rig.opener.addresses, (std::vector<std::string>{PageAddress(WebPage::Languages),
                                                              PageAddress(WebPage::Donation),
                                                              PageAddress(WebPage::Product)}));
    choose("license");
    choose("versionHistory");
    EXPECT_EQ(rig.opener.documents,
              (std::vector<fs::path>{rig.folder / std::string(kItalianLicenseDocument),
                                     rig.folder / std::string(kVersionHistoryDocument)}));

    choose("about");
    ASSERT_NE(rig.window->About().Window(), nullptr);
    EXPECT_TRUE(rig.window->About().Window()->isVisible());
    choose("options");
    ASSERT_NE(rig.window->Options().Dialog(), nullptr);
    EXPECT_TRUE(rig.window->Options().Dialog()->isVisible());
    EXPECT_EQ(rig.window->Options().Dialog()->objectName(), "optionsDialog");
}

TEST(TrayApplicationMenu, LanguageChangeRefreshesMenuUnloadsOptionsAndSaves) {
    Rig rig;
    ASSERT_EQ(rig.Start(), StartOutcome::Running);
    rig.window->OnMenuChosen(MenuAction::OpenOptions);
    ASSERT_NE(rig.window->Options().Dialog(), nullptr);
    const std::string italianExit = rig.Caption("exit");

    const fs::path french = rig.folder / "Lang" / "French.lng";
    rig.fileDialog.answer = std::vector<std::string>{french.string()};
    rig.window->OnMenuChosen(MenuAction::ChooseLanguage);
    EXPECT_EQ(rig.fileDialog.calls, 1);
    EXPECT_EQ(rig.state.settings.LanguageFile, "French.lng");
    EXPECT_NE(rig.Caption("exit"), italianExit);
    EXPECT_EQ(rig.Caption("exit"), rig.state.texts[13]);
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.window->Options().Dialog(), nullptr);
    EXPECT_EQ(rig.Saved().LanguageFile, "French.lng");
}

// Polling, the next tick at rest takes the new speed; with a wake source the timer sleeps at
// rest, and the Apply ticks the sleeping engine so that the wake moves by the new speed at once.
TEST(TrayApplicationMenu, OptionsApplyTakesEffectOnTheNextMoveAndIsSaved) {
    for (const bool withWake : {false, true}) {
        SCOPED_TRACE(withWake ? "asleep" : "polling");
        Rig rig;
        rig.withWake = withWake;
        ASSERT_EQ(rig.Start(), StartOutcome::Running);
        ASSERT_TRUE(rig.window->PollTimer()->isActive());
        if (withWake) rig.window->OnPollTick();
        EXPECT_NE(rig.window->PollTimer()->isActive(), withWake);

        ASSERT_NO_FATAL_FAILURE(rig.ApplySpeedInOptions("9"));
        EXPECT_EQ(rig.Saved().PointerSpeed, "9");
        EXPECT_NE(rig.window->PollTimer()->isActive(), withWake);
        if (!withWake) rig.window->OnPollTick();  // at rest: the new speed becomes the step
        rig.joystick.SetAxes(65535, 32767);
        withWake ? rig.wake.Fire() : rig.window->OnPollTick();
        EXPECT_EQ(rig.pointer.position.x, 649);
        EXPECT_TRUE(rig.window->PollTimer()->isActive());
        EXPECT_EQ(rig.window->PollTimer()->interval(), 5);
    }
}

// The texts of a shipped language file as the program reads it.
LangText TextsOf(const fs::path& folder, const std::string& file) {
    LangText texts;
    EXPECT_TRUE(LoadTexts(folder, file, texts)) << file;
    return texts;
}

struct UnreadableLanguageCase {
    std::string storedName;
    std::string isoCode, country;
    std::string shownFile;
};
void PrintTo(const UnreadableLanguageCase& c, std::ostream* out) {
    *out << '"' << c.storedName << "\" in " << c.country;
}

class TrayApplicationUnreadableLanguage : public ::testing::TestWithParam<UnreadableLanguageCase> {
};

// A settings file naming a language file that is missing or refused: the menu speaks the
// locale's language (English where the region has none), and the stored name is kept.
TEST_P(TrayApplicationUnreadableLanguage, StartShowsTheLocaleLanguageAndKeepsTheName) {
    Rig rig;
    rig.locale = FakeLocale(GetParam().isoCode, GetParam().country);
    test::WriteFile(rig.SettingsFile(),
                    "1\r\n2\r\n3\r\n2\r\n1\r\n1\r\n0\r\n" + GetParam().storedName + "\r\n");
    ASSERT_EQ(rig.Start(), StartOutcome::Running);

    EXPECT_EQ(rig.state.texts, TextsOf(rig.folder.path(), GetParam().shownFile));
    EXPECT_EQ(rig.Caption("exit"), rig.state.texts[13]);
    rig.window->OnMenuChosen(MenuAction::Exit);
    EXPECT_EQ(rig.Saved().LanguageFile, GetParam().storedName);
}

INSTANTIATE_TEST_SUITE_P(
    HostileNames, TrayApplicationUnreadableLanguage,
    ::testing::Values(UnreadableLanguageCase{"Missing.lng", "it", "Italy", "Italiano.lng"},
                      UnreadableLanguageCase{"Missing.lng", "de", "Germany", "English.lng"},
                      UnreadableLanguageCase{"../../../../../../etc/passwd", "fr", "France",
                                             "French.lng"},
                      UnreadableLanguageCase{"/etc/passwd", "tr", "Turkey", "Turkish.lng"}));

TEST(TrayApplicationFaults, LanguageFileDeletedWhileRunningFallsBackAndKeepsTheRun) {
    Rig rig;
    ASSERT_EQ(rig.Start(), StartOutcome::Running);
    fs::remove(rig.folder / "Lang" / "Italiano.lng");
    fs::remove(rig.folder / "Lang" / "French.lng");

    // The dialog still offers the file it listed a moment ago. The locale's Italian is gone
    // too, so English stands in.
    rig.fileDialog.answer = std::vector<std::string>{(rig.folder / "Lang" / "French.lng").string()};
    rig.window->OnMenuChosen(MenuAction::ChooseLanguage);
    EXPECT_EQ(rig.state.settings.LanguageFile, "French.lng");
    EXPECT_EQ(rig.state.texts, TextsOf(rig.folder.path(), "English.lng"));
    EXPECT_EQ(rig.Caption("exit"), rig.state.texts[13]);
    EXPECT_TRUE(rig.window->PollTimer()->isActive());
    rig.joystick.SetAxes(65535, 32767);
    rig.window->OnPollTick();
    EXPECT_GT(rig.pointer.position.x, 640);

    rig.window->OnMenuChosen(
        MenuAction::OpenAbout);  // windows still take their texts from the table
    ASSERT_NE(rig.window->About().Window(), nullptr);
    rig.window->OnMenuChosen(MenuAction::Exit);
    EXPECT_TRUE(fs::exists(rig.SettingsFile()));
}

// No language file can be read, or the one read is empty: the built-in English words stay.
TEST(TrayApplicationFaults, WithoutReadableWordsMenuAndMessagesSpeakBuiltInEnglish) {
    for (const bool emptyFile : {false, true}) {
        Rig rig;  // an Italian locale: Italiano.lng first, then English.lng
        fs::remove_all(rig.folder / "Lang");
        if (emptyFile) test::WriteFile(rig.folder / "Lang" / "Italiano.lng", "");
        rig.joystick.Unplug(0);
        rig.joystick.Unplug(3);
        ASSERT_EQ(rig.Start(), StartOutcome::NoJoystick);
        const LangText& english = BuiltInTexts();
        for (const MenuEntry& entry : TrayMenuEntries())
            if (!entry.IsSeparator()) {
                EXPECT_EQ(rig.Caption(entry.name), english[entry.text]);
            }
        ASSERT_EQ(rig.boxes.shown.size(), 1u);
        EXPECT_EQ(rig.boxes.shown[0].title, english[TextId::MessageTitle]);
        EXPECT_EQ(rig.boxes.shown[0].text, NoJoystickText(english));
    }
}

// A folder in the settings file's place: Apply, OK and a language choice cannot save.
TEST(TrayApplicationFaults, FailedSaveIsSaidOnceInTheUsersLanguageUntilOneWorks) {
    Rig rig;  // an Italian locale
    ASSERT_EQ(rig.Start(), StartOutcome::Running);
    const std::size_t before = rig.boxes.shown.size();
    const auto pressOkWhileSaving = [&](bool blocked) {
        fs::remove_all(rig.SettingsFile());
        if (blocked) fs::create_directories(rig.SettingsFile() / "inside");
        rig.window->OnMenuChosen(MenuAction::OpenOptions);
        rig.window->Options().Dialog()->findChild<QPushButton*>("okButton")->click();
        return rig.boxes.shown.size() - before;
    };
    EXPECT_EQ(pressOkWhileSaving(true), 1u);
    EXPECT_TRUE(rig.boxes.shown.back().text.starts_with("Impossibile salvare"));
    EXPECT_EQ(pressOkWhileSaving(true), 1u);
    EXPECT_EQ(pressOkWhileSaving(false), 1u);
    EXPECT_EQ(pressOkWhileSaving(true), 2u);
}

}  // namespace
}  // namespace vantrel
