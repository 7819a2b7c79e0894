// The backends that differ by platform, made together for main(). One implementation per
// platform, chosen by src/app/CMakeLists.txt: LinuxBackends.cpp and WindowsBackends.cpp.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/program/ProgramLocation.h"
#include "core/program/ProgramRun.h"
#include "core/settings/FileLocations.h"
#include "core/startup/DisplayCheck.h"
#include "core/startup/PointerChoice.h"
#include "core/text/LangText.h"

class QCoreApplication;

namespace vantrel {

class TrayApplication;

// Where the program running from `programFolder` keeps its settings and finds language files:
// beside itself when it may write there, else in the user's folders of this platform.
FileLocations PlatformFileLocations(const std::filesystem::path& programFolder);

class PlatformBackends {
  public:
    // `pointer`: the --pointer option; Linux picks the pointer output with it (ChoosePointer),
    // Windows has one output and ignores it. Made after the QApplication: the X11 output opens
    // the display Qt opened.
    explicit PlatformBackends(const ProgramLocation& location,
                              PointerRequest pointer = kAutoPointer);
    ~PlatformBackends();
    PlatformBackends(const PlatformBackends&) = delete;
    PlatformBackends& operator=(const PlatformBackends&) = delete;

    // Every port the program's run takes: the platform's own backends and the desktop's (Qt's
    // message boxes, locale, file dialog, opener and process launcher), made with this object
    // and living as long as it does.
    const ProgramPorts& Ports() const { return ports_; }
    // What the user must be told about the pointer output chosen: on Linux, a Wayland session
    // where only XTest was left, or an output asked for that could not start.
    PointerChoice::Notice PointerNotice() const;
    // First of all, while the program has one thread: standard input, output and error open
    // (on Unix, a closed one is opened on /dev/null, so no connection the program opens later
    // takes its number and receives its messages), and what the libraries read from the
    // environment as they start (on Linux, whether D-Bus may try to launch a session bus).
    static void PrepareEnvironment();
    // The running executable's real path as the system names it (on Linux its bytes, whatever
    // their encoding), from which the program folder follows; nullopt when it cannot be known.
    // After the QApplication.
    static std::optional<std::filesystem::path> ProgramExecutable();
    // Before the QApplication: whether one of the displays Qt may open answers. `x11Display`:
    // Qt's -display, empty for DISPLAY. Windows always has its desktop.
    static bool DisplayReachable(const DisplayCandidates& candidates,
                                 const std::string& x11Display);
    // `tell` hears, with the line to show, when the pointer output was lost while the program
    // ran and the next one took over (on Linux: the portal refused or closed, XTest now).
    void OnPointerFallback(std::function<void(TextId)> tell);
    // First of all in main(), after PrepareEnvironment: when the program was started as a
    // process of its own for one job (on Linux, each update-check fetch runs in one, so the
    // network libraries never stay in the program), does that job and gives the exit status;
    // nothing for a start of the program itself.
    static std::optional<int> RunChildJob(int argc, char** argv);
    // Before the start: the platform's own requests to end (on Unix SIGTERM, SIGINT and
    // SIGHUP; on Windows the setup's end request, WinEndRequest) end the event loops from here
    // on. A box the start shows then closes, and the start ends the way that box's cause ends
    // it (no joystick: status 2, nothing saved); once the program runs, the end comes through
    // its normal shutdown.
    void CatchStopSignals(QCoreApplication& app);
    // window.ConnectShutdown: Windows ends a session through the application's session
    // signals, which ConnectShutdown already handles.
    void ConnectShutdown(TrayApplication& window, QCoreApplication& app);

  private:
    // The platform's own objects, defined by its implementation file.
    struct Parts;
    std::unique_ptr<Parts> parts_;
    ProgramPorts ports_;
};

}  // namespace vantrel
