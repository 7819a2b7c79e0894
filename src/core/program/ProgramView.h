// What the program's run asks of the window that shows it: the tray icon and its menu, the
// hidden window, the windows the menu opens, the poll timer on the event loop (its ticks call
// ProgramRun::OnPollTick), and the end of the program.
#pragma once

#include <chrono>

#include "core/engine/WakePorts.h"
#include "core/menu/TrayState.h"
#include "core/text/LangText.h"

namespace vantrel {

class ProgramView : public PollTimerPort {
  public:
    virtual ~ProgramView() = default;
    virtual void SetMenuBitmaps() = 0;
    virtual void ApplyMenuTexts(const LangText& texts) = 0;
    virtual void AddTrayIcon() = 0;
    virtual void RemoveTrayIcon() = 0;
    // The tray icon's picture and tooltip (from `texts`) and the menu's ticks for `state`.
    virtual void ShowTrayState(TrayState state, const LangText& texts) = 0;
    virtual void HideWindow() = 0;
    // Starts the update check's one-shot timer: ProgramRun::OnUpdateCheckDue when it fires.
    virtual void StartUpdateCheckTimer(std::chrono::milliseconds delay) = 0;
    virtual void StopUpdateCheckTimer() = 0;
    // The program should end now with this exit status.
    virtual void RequestEnd(int status) = 0;
    // The tray menu's windows: the options dialog (opened once and shown again), the about
    // window with these texts, and the options dialog closed and forgotten (the language
    // changed), so that its next opening loads anew.
    virtual void OpenOptions() = 0;
    virtual void OpenAbout(const LangText& texts) = 0;
    virtual void UnloadOptions() = 0;
};

}  // namespace vantrel
