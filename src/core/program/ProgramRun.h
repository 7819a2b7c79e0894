// The program's run without its windows: the start-up and shutdown sequences, the engine and
// its scheduler, the tray menu's choices and what Apply changes. The tray window shows it and
// forwards the events of the event loop to it; a test drives it with fakes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "core/engine/JoystickPort.h"
#include "core/engine/MouseButtonPort.h"
#include "core/engine/PointerPort.h"
#include "core/engine/PollEngine.h"
#include "core/engine/PollScheduler.h"
#include "core/engine/ScrollPort.h"
#include "core/engine/WakePorts.h"
#include "core/info/HttpFetchPort.h"
#include "core/info/OpenerPort.h"
#include "core/language/FileDialogPort.h"
#include "core/language/LocalePort.h"
#include "core/menu/TrayMenu.h"
#include "core/options/OptionsModel.h"
#include "core/options/ProcessLauncherPort.h"
#include "core/program/ProgramLocation.h"
#include "core/program/ProgramState.h"
#include "core/program/ProgramView.h"
#include "core/program/StartOutcome.h"
#include "core/startup/ManifestPlatformPort.h"
#include "core/startup/RunEntryPort.h"
#include "core/text/MessageBoxPort.h"

namespace vantrel {

// Everything the program reaches the platform through. All of it must outlive the run.
struct ProgramPorts {
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
    // The chosen output's wheels; none: that output cannot scroll.
    ScrollPort* scroll = nullptr;
};

class ProgramRun {
  public:
    // `state`, the ports and the view must outlive the run; the view is first asked for
    // anything in Initialize.
    ProgramRun(ProgramState& state, const ProgramPorts& ports, ProgramLocation location,
               ProgramView& view);

    // Before Start: the manifest beside the program.
    void Initialize();
    // The start-up sequence: the settings, the texts and the logon entry, the instance and
    // joystick checks, then polling, the tray icon and the update check. On an early end the
    // caller stops the program with ExitStatus(outcome) and does not call Shutdown. Started at
    // logon without a joystick, the run goes on waiting for one (the tray icon says so) and
    // takes the first that comes.
    StartOutcome Start(StartedBy by = StartedBy::User);
    // Saves the settings, releases a mouse button still held, removes the tray icon. Runs once;
    // later calls, and calls after the update offer ended the program, do nothing.
    void Shutdown();
    // The poll timer fired.
    void OnPollTick() { scheduler_.OnTimer(); }
    // The update check's timer fired: the check starts now, with the tray icon up.
    void OnUpdateCheckDue();
    // An entry of the tray menu was chosen: documents and pages open here, the windows through
    // the view; Exit runs the shutdown and asks the view to end the program.
    void OnMenuChosen(MenuAction action);
    // What the options dialog takes from the run: the capabilities of the joystick in use (as
    // last seen while it is away), the joysticks present and where the one in use is, taking
    // another into use, the logon entry, and Apply and OK's save.
    OptionsServices DialogServices();
    // Apply and OK: a sleeping engine takes the new values now, and the settings file is
    // written (SaveSettingsOrWarn); false when that failed.
    bool ApplySettings();
    // Writes the settings file from the current settings, as at the end of the program: false
    // when that failed, which goes to standard error only.
    bool SaveSettingsNow();
    // The same for a choice the user just made: a failure is told in a message box, once until
    // a save works again.
    bool SaveSettingsOrWarn();
    // Brings the run-at-logon entry into line with the current settings; false on failure.
    bool SyncRunEntryNow();
    // True once the update offer was accepted: the program ends without the shutdown sequence.
    bool EndedAtOnce() const { return endedAtOnce_; }

    PollEngine& Engine() { return engine_; }
    const PollScheduler& Scheduler() const { return scheduler_; }

  private:
    void Warn(const std::string& text);
    // After every tick: another pad in use, perhaps the first to a run that waited for one.
    void OnTicked();
    // The tray icon as the pause and the waiting for a joystick say.
    void ShowTrayState();
    void ReadCapsInUse(JoystickInfo& caps);
    void EndAtOnce();
    void ChooseLanguage();

    ProgramState& state_;
    ProgramPorts ports_;
    ProgramLocation location_;
    FileLocations files_;
    ProgramView& view_;
    PollEngine engine_;
    NoWakeSource noWakeSource_;
    PollScheduler scheduler_;
    bool waitingForJoystick_ = false;
    std::uint32_t padTakesSeen_ = 0;
    // The pad in use as last read, for a dialog opened while it is away.
    std::optional<JoystickInfo> capsInUse_;
    bool endedAtOnce_ = false;
    bool shutDown_ = false;
    bool saveFailureShown_ = false;  // the last save failed and the user was told
};

}  // namespace vantrel
