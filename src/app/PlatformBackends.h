// The backends that differ by platform, made together for main(). One implementation per
// platform, chosen by src/app/CMakeLists.txt: LinuxBackends.cpp and WindowsBackends.cpp.
#pragma once

#include <memory>

#include "engine/JoystickPort.h"
#include "engine/MouseButtonPort.h"
#include "engine/PointerPort.h"
#include "settings/RunEntryPort.h"
#include "shell/ManifestPlatformPort.h"

class QCoreApplication;

namespace vantrel {

class MainWindow;
struct ProgramLocation;

class PlatformBackends {
  public:
    explicit PlatformBackends(const ProgramLocation& location);
    ~PlatformBackends();
    PlatformBackends(const PlatformBackends&) = delete;
    PlatformBackends& operator=(const PlatformBackends&) = delete;

    JoystickPort& Joystick();
    PointerPort& Pointer();
    MouseButtonPort& Buttons();
    RunEntryPort& RunEntry();
    ManifestPlatformPort& ManifestPlatform();
    // The previous-instance test, per user and named after the executable: takes the lock on
    // the first call and holds it while this object lives.
    bool AnotherInstanceRunning();
    // window.ConnectShutdown with the platform's own requests to end: on Unix SIGTERM, SIGINT
    // and SIGHUP; Windows ends a session through the application's session signals, which
    // ConnectShutdown already handles.
    void ConnectShutdown(MainWindow& window, QCoreApplication& app);

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace vantrel
