// The tray application: the hidden window "Vantrel" that shows the program's run (ProgramRun).
// It holds the poll timer with the two state labels, the tray icon with its menu, and the
// options and about windows opened from that menu.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "core/menu/TrayMenu.h"
#include "core/program/ProgramRun.h"

class QCoreApplication;
class QLabel;
class QTimer;

namespace vantrel {

class AboutWindowHost;
class OptionsDialogHost;
class TrayIcon;

class TrayApplication : public QWidget, private ProgramView {
    Q_OBJECT

  public:
    // `state` and the ports must outlive the window.
    TrayApplication(ProgramState& state, const ProgramPorts& ports, ProgramLocation location,
                    QWidget* parent = nullptr);
    ~TrayApplication() override;

    // Ties the end of the run to `app`'s event loop: endRequested ends the loop with its status;
    // the end of the desktop session saves the settings; any way out of the loop runs the
    // shutdown first (unless the program ended at once). Call after a Running start.
    void ConnectShutdown(QCoreApplication& app);
    // The run this window shows: start it, shut it down, save its settings.
    ProgramRun& Run() { return run_; }
    TrayIcon& Tray() { return *tray_; }
    OptionsDialogHost& Options() { return *options_; }
    AboutWindowHost& About() { return *about_; }

    QTimer* PollTimer() const { return pollTimer_; }
    // Starts the update check once the tray icon is up (single shot, started by the start-up).
    QTimer* UpdateCheckTimer() const { return updateCheckTimer_; }
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

    // The tray menu's entry, as the tray icon reports every choice.
    void OnMenuChosen(MenuAction action) { run_.OnMenuChosen(action); }

  private:
    // What the run asks of the window.
    void SetMenuBitmaps() override;
    void ApplyMenuTexts(const LangText& texts) override;
    void AddTrayIcon() override;
    void RemoveTrayIcon() override;
    void ShowTrayState(TrayState state, const LangText& texts) override;
    void HideWindow() override;
    void StartTicking() override;
    void StopTicking() override;
    void StartUpdateCheckTimer(std::chrono::milliseconds delay) override;
    void StopUpdateCheckTimer() override;
    void RequestEnd(int status) override;
    void OpenOptions() override;
    void OpenAbout(const LangText& texts) override;
    void UnloadOptions() override;

    void ShowEngineState();

    QTimer* pollTimer_ = nullptr;         // owned by this widget
    QTimer* updateCheckTimer_ = nullptr;  // owned by this widget
    QLabel* heldButtonLabel_ = nullptr;   // owned by this widget
    QLabel* positionLabel_ = nullptr;     // owned by this widget
    std::unique_ptr<TrayIcon> tray_;
    ProgramRun run_;
    std::unique_ptr<OptionsDialogHost> options_;
    std::unique_ptr<AboutWindowHost> about_;
    std::string shownHeld_;
    std::string shownPosition_;
};

}  // namespace vantrel
