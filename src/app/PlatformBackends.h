// The backends that differ by platform, made together for main(). One implementation per
// platform, chosen by src/app/CMakeLists.txt: LinuxBackends.cpp and WindowsBackends.cpp.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/engine/JoystickPort.h"
#include "core/engine/MouseButtonPort.h"
#include "core/engine/PointerPort.h"
#include "core/engine/WakePorts.h"
#include "core/info/HttpFetchPort.h"
#include "core/program/ProgramLocation.h"
#include "core/settings/FileLocations.h"
#include "core/startup/DisplayCheck.h"
#include "core/startup/ManifestPlatformPort.h"
#include "core/startup/PointerChoice.h"
#include "core/startup/RunEntryPort.h"
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

    JoystickPort& Joystick() { return ports_.joystick; }
    PointerOutput Pointer() { return ports_.pointer; }
    MouseButtonPort& Buttons() { return ports_.buttons; }
    RunEntryPort& RunEntry() { return ports_.runEntry; }
    ManifestPlatformPort& ManifestPlatform() { return ports_.manifestPlatform; }
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
    // What wakes the program while the poll timer sleeps; on Windows nothing does.
    WakeSourcePort& Wake() { return ports_.wake; }
    // The update check's fetcher; on Linux each fetch runs in a short-lived process of the
    // program's own (RunChildJob), so the network libraries never stay in the program.
    HttpFetchPort& Http();
    // First of all in main(), after PrepareEnvironment: when the program was started as such a
    // process of its own, does that job and gives the exit status; nothing for a start of the
    // program itself.
    static std::optional<int> RunChildJob(int argc, char** argv);
    // The previous-instance test, per user, whatever the executable is called: takes the lock
    // on the first call and holds it while this object lives.
    bool AnotherInstanceRunning();
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
    // The same objects seen through their ports, set by the constructor.
    struct Ports {
        JoystickPort& joystick;
        PointerOutput pointer;
        MouseButtonPort& buttons;
        RunEntryPort& runEntry;
        ManifestPlatformPort& manifestPlatform;
        WakeSourcePort& wake;
    };
    std::unique_ptr<Parts> parts_;
    Ports ports_;
};

}  // namespace vantrel
