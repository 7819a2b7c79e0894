// The order of start-up and shutdown: which steps run, when, and which ones end the program.
#pragma once

#include <string>

#include "core/engine/JoystickPort.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsFile.h"
#include "core/text/BuiltInTexts.h"

namespace vantrel {

// The records one run shares: the settings, the text table and the joystick count.
struct ProgramState {
    Settings settings;
    // English until a language file is read, and where none can be: every window has words.
    LangText texts = BuiltInTexts();
    int joystickCount = 0;
};

// The steps themselves, provided by the main window and its backends. Each step reports nothing
// the sequence must act on, except where it returns a value.
class StartupSteps {
  public:
    virtual ~StartupSteps() = default;
    virtual void WriteManifest() = 0;
    virtual void SetMenuBitmaps() = 0;
    virtual int CountJoysticks() = 0;
    virtual SettingsLoad LoadSettings(Settings& settings) = 0;
    virtual void ChooseLanguageFromLocale(Settings& settings) = 0;
    virtual void LoadTexts(const std::string& languageFile, LangText& texts) = 0;
    virtual void ApplyMenuTexts(const LangText& texts) = 0;
    virtual void SyncRunEntry(const Settings& settings) = 0;
    virtual bool AnotherInstanceRunning() = 0;
    virtual void ReadJoystickInfo(const Settings& settings, JoystickInfo& caps) = 0;
    virtual void ShowWarning(const std::string& title, const std::string& text) = 0;
    virtual void StartPolling(int intervalMs) = 0;
    virtual void AddTrayIcon() = 0;
    virtual void RemoveTrayIcon() = 0;
    virtual void HideWindow() = 0;
    virtual void CheckForUpdates() = 0;
    virtual bool SaveSettings(const Settings& settings) = 0;
};

// How a start ended. The early ends are failures of the run and give their own exit status.
enum class StartOutcome { Running, SecondInstance, NoJoystick };
int ExitStatus(StartOutcome outcome);

constexpr int kPollIntervalMs = 5;

// The paragraph break in message texts.
inline constexpr const char* kParagraphBreak = "\n\n";

std::string SecondInstanceText(const LangText& texts, const std::string& programName);
std::string NoJoystickText(const LangText& texts);

class Startup {
  public:
    Startup(ProgramState& state, StartupSteps& steps, std::string programName)
        : state_(state), steps_(steps), programName_(std::move(programName)) {}

    // Before anything else: the manifest beside the program.
    void Initialize();
    // The start-up sequence. On an early end the caller stops the program at once, without
    // running Shutdown.
    StartOutcome Start();
    // Shutdown: save the settings, then remove the tray icon. Runs at most once.
    void Shutdown();

  private:
    ProgramState& state_;
    StartupSteps& steps_;
    std::string programName_;
    bool unloaded_ = false;
};

}  // namespace vantrel
