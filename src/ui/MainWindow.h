// The hidden main window Vantrel: owns the run. It carries out the start-up and shutdown steps,
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
#include "core/info/HttpFetchPort.h"
#include "core/info/OpenerPort.h"
#include "core/language/FileDialogPort.h"
#include "core/language/LocalePort.h"
#include "core/startup/MessageBoxPort.h"
#include "core/options/ProcessLauncherPort.h"
#include "core/startup/RunEntryPort.h"
#include "core/startup/Startup.h"
#include "core/shell/ManifestPlatformPort.h"

class QCoreApplication;
class QLabel;
class QTimer;

namespace vantrel {

class AboutWindowHost;
class OptionsDialogHost;
class TrayIcon;

// Everything the window reaches the platform through. All of it must outlive the window.
struct MainWindowPorts {
    JoystickPort& joystick;
    PointerPort& pointer;
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
};

// Where the program runs from: the folder holds the settings file, Lang/ and the documents.
struct ProgramLocation {
    std::filesystem::path folder;
    std::filesystem::path executable;
    // The executable's name without extension, as the second-instance message names it.
    std::string BaseName() const { return executable.stem().string(); }
};

class MainWindow : public QWidget, private StartupSteps {
    Q_OBJECT

  public:
    // `state` and the ports must outlive the window.
    MainWindow(ProgramState& state, const MainWindowPorts& ports, ProgramLocation location,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Before Form_Load: the manifest beside the program.
    void Form_Initialize();
    // The start-up sequence. On an early end the caller stops the program with
    // ExitStatus(outcome) and does not call Form_Unload.
    StartOutcome Form_Load();
    // Shutdown: saves the settings, releases a mouse button still held, removes the tray icon.
    // Runs once; later calls do nothing.
    void Form_Unload();
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
    TrayIcon& Tray() { return *tray_; }
    OptionsDialogHost& Options() { return *options_; }
    AboutWindowHost& About() { return *about_; }

    QTimer* Timer1 = nullptr;
    QLabel* Label1 = nullptr;  // the held mouse button
    QLabel* Label2 = nullptr;  // the last pointer position

  signals:
    // The program should end now with this exit status (the exit entry, an accepted update).
    void endRequested(int status);

  public slots:
    // One poll; the labels change only when their texts do.
    void Timer1_Timer();

    void mnuDef_Click();
    void mnuLingua_Click();
    void mnuAggLingua_Click();
    void mnuDonazione_Click();
    void mnuAggiornamenti_Click();
    void mnuLicenza_Click();
    void mnuVersioni_Click();
    void mnuAbout_Click();
    // Runs the shutdown sequence, then asks for the end of the program.
    void mnuExit_Click();

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
    void HideMainWindow() override;
    void CheckForUpdates() override;
    bool SaveSettings(const Settings& settings) override;

    bool SaveCurrentSettings();
    bool SyncCurrentRunEntry();
    void EndAtOnce();
    void ShowEngineState();

    ProgramState& state_;
    MainWindowPorts ports_;
    ProgramLocation location_;
    PollEngine engine_;
    Startup startup_;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<OptionsDialogHost> options_;
    std::unique_ptr<AboutWindowHost> about_;
    bool endedAtOnce_ = false;
    std::string shownHeld_;
    std::string shownPosition_;
};

}  // namespace vantrel
