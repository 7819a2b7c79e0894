// The tray application: the hidden window "Vantrel" that owns the run.
// holds the poll timer with the two state labels, the tray icon with its menu, and the options
// and about windows opened from that menu.
#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "core/engine/JoystickPort.h"
#include "core/engine/MouseButtonPort.h"
#include "core/engine/PointerPort.h"
#include "core/engine/PollEngine.h"
#include "core/engine/PollScheduler.h"
#include "core/engine/WakePorts.h"
#include "core/info/HttpFetchPort.h"
#include "core/info/OpenerPort.h"
#include "core/language/FileDialogPort.h"
#include "core/language/LocalePort.h"
#include "core/menu/TrayMenu.h"
#include "core/options/ProcessLauncherPort.h"
#include "core/startup/ManifestPlatformPort.h"
#include "core/startup/RunEntryPort.h"
#include "core/startup/Startup.h"
#include "core/text/MessageBoxPort.h"

class QCoreApplication;
class QLabel;
class QTimer;

namespace vantrel {

class AboutWindowHost;
class OptionsDialogHost;
class TrayIcon;

// Everything the window reaches the platform through. All of it must outlive the window.
struct TrayApplicationPorts {
    JoystickPort& joystick;
    PointerOutput pointer;
    MouseButtonPort& buttons;
    MessageBoxPort& messageBoxes;
    RunEntryPort& runEntry;
    LocalePort& locale;
    FileDialogPort& fileDialog;
    OpenerPort& opener;
    HttpFetchPort& http;
    ProcessLauncherPort& launcher;
    ManifestPlatformPort& manifestPlatform;
    // The previous-instance test; asked once, at start-up.
    std::function<bool()> anotherInstanceRunning;
    // What wakes the program while the poll timer sleeps; none: the timer never stops.
    WakeSourcePort* wake = nullptr;
};

// Where the program runs from: the folder holds the settings file, Lang/ and the documents.
struct ProgramLocation {
    std::filesystem::path folder;
    std::filesystem::path executable;
    // The executable's name without extension, as the second-instance message names it.
    std::string BaseName() const { return executable.stem().string(); }
};

class TrayApplication : public QWidget, private StartupSteps, private PollTimerPort {
    Q_OBJECT

  public:
    // `state` and the ports must outlive the window.
    TrayApplication(ProgramState& state, const TrayApplicationPorts& ports,
                    ProgramLocation location, QWidget* parent = nullptr);
    ~TrayApplication() override;

    // Before Start: the manifest beside the program.
    void Initialize();
    // The start-up sequence. On an early end the caller stops the program with
    // ExitStatus(outcome) and does not call Shutdown.
    StartOutcome Start();
    // Shutdown: saves the settings, releases a mouse button still held, removes the tray icon.
    // Runs once; later calls do nothing.
    void Shutdown();
    // Ties the end of the run to `app`'s event loop: endRequested ends the loop with its status;
    // the end of the desktop session saves the settings; any way out of the loop runs the
    // shutdown first (unless the program ended at once). Call after a Running start.
    void ConnectShutdown(QCoreApplication& app);
    // Writes the settings file from the current settings; false when that failed.
    bool SaveSettingsNow() { return SaveCurrentSettings(); }
    // True once the update offer was accepted: the program ends without the shutdown sequence.
    bool EndedAtOnce() const { return endedAtOnce_; }

    ProgramState& State() { return state_; }
    PollEngine& Engine() { return engine_; }
    PollScheduler& Scheduler() { return scheduler_; }
    TrayIcon& Tray() { return *tray_; }
    OptionsDialogHost& Options() { return *options_; }
    AboutWindowHost& About() { return *about_; }

    QTimer* PollTimer() const { return pollTimer_; }
    // The engine's state, for anyone who looks at the hidden window: the held mouse button and
    // the last pointer position.
    QLabel* HeldButtonLabel() const { return heldButtonLabel_; }
    QLabel* PositionLabel() const { return positionLabel_; }

  signals:
    // The program should end now with this exit status (the exit entry, an accepted update).
    void endRequested(int status);

  public slots:
    // One poll; the labels change only when their texts do.
    void OnPollTick();

    // Runs the entry's handler; the tray icon reports every choice here.
    void OnMenuChosen(MenuAction action);

    void openOptions();
    void chooseLanguage();
    void getMoreLanguages();
    void openDonationPage();
    void openUpdatesPage();
    void openLicense();
    void openVersionHistory();
    void openAbout();
    // Runs the shutdown sequence, then asks for the end of the program.
    void exitProgram();

  private:
    // The steps of start-up and shutdown, in the order Startup calls them.
    void WriteManifest() override;
    void SetMenuBitmaps() override;
    int CountJoysticks() override;
    SettingsLoad LoadSettings(Settings& settings) override;
    void ChooseLanguageFromLocale(Settings& settings) override;
    void LoadTexts(const std::string& languageFile, LangText& texts) override;
    void ApplyMenuTexts(const LangText& texts) override;
    void SyncRunEntry(const Settings& settings) override;
    bool AnotherInstanceRunning() override;
    void ReadJoystickInfo(const Settings& settings, JoystickInfo& caps) override;
    void ShowWarning(const std::string& title, const std::string& text) override;
    void StartPolling(int intervalMs) override;
    void AddTrayIcon() override;
    void RemoveTrayIcon() override;
    void HideWindow() override;
    void CheckForUpdates() override;
    bool SaveSettings(const Settings& settings) override;

    // The poll timer, as the scheduler starts and stops it.
    void StartTicking() override;
    void StopTicking() override;

    bool SaveCurrentSettings();
    bool SyncCurrentRunEntry();
    void EndAtOnce();
    void ShowEngineState();

    QTimer* pollTimer_ = nullptr;        // owned by this widget
    QLabel* heldButtonLabel_ = nullptr;  // owned by this widget
    QLabel* positionLabel_ = nullptr;    // owned by this widget
    ProgramState& state_;
    TrayApplicationPorts ports_;
    ProgramLocation location_;
    PollEngine engine_;
    NoWakeSource noWakeSource_;
    PollScheduler scheduler_;
    int pollIntervalMs_ = 0;
    Startup startup_;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<OptionsDialogHost> options_;
    std::unique_ptr<AboutWindowHost> about_;
    bool endedAtOnce_ = false;
    std::string shownHeld_;
    std::string shownPosition_;
};

}  // namespace vantrel
