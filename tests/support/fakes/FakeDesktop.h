// Every desktop service a whole run of the program reaches, faked, and the ports made from them
// with the joystick, pointer and wake source a test brings (or FakeProgram's own).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "core/program/ProgramRun.h"
#include "core/settings/SettingsFile.h"
#include "support/TempDir.h"
#include "support/fakes/FakeFileDialog.h"
#include "support/fakes/FakeHttpFetch.h"
#include "support/fakes/FakeJoystick.h"
#include "support/fakes/FakeLocale.h"
#include "support/fakes/FakeManifestPlatform.h"
#include "support/fakes/FakeMessageBox.h"
#include "support/fakes/FakeMouseButtons.h"
#include "support/fakes/FakeOpener.h"
#include "support/fakes/FakePointer.h"
#include "support/fakes/FakeProcessLauncher.h"
#include "support/fakes/FakeRunEntry.h"
#include "support/fakes/FakeWake.h"

namespace vantrel::test {

struct FakeDesktop {
    FakeMessageBox boxes;
    FakeRunEntry runEntry;
    FakeLocale locale{"it", "Italy"};
    FakeFileDialog fileDialog;
    FakeOpener opener;
    FakeHttpFetch http;
    FakeProcessLauncher launcher;
    FakeManifestPlatform manifestPlatform;
    bool otherInstance = false;

    // `wake`: none, the poll timer never stops; `scroll`: none, the output cannot scroll.
    ProgramPorts Ports(JoystickPort& joystick, PointerOutput pointer, MouseButtonPort& buttons,
                       WakeSourcePort* wake, ScrollPort* scroll = nullptr) {
        return {
            .joystick = joystick,
            .pointer = pointer,
            .buttons = buttons,
            .messageBoxes = boxes,
            .runEntry = runEntry,
            .locale = locale,
            .fileDialog = fileDialog,
            .opener = opener,
            .http = http,
            .launcher = launcher,
            .manifestPlatform = manifestPlatform,
            .anotherInstanceRunning = [this] { return otherInstance; },
            .wake = wake,
            .scroll = scroll,
        };
    }
};

// A program whose executable, settings and language files are all in `folder`.
inline ProgramLocation LocationIn(const std::filesystem::path& folder) {
    ProgramLocation location;
    location.folder = folder;
    location.executable = folder / "vantrel";
    return location;
}

// A whole run over fakes: the desktop's, a program folder of its own, a joystick with a pad at
// id 0, the pointer, the mouse buttons and a wake source.
struct FakeProgram : FakeDesktop {
    TempDir folder;
    FakeJoystick joystick;
    FakePointer pointer;
    FakeMouseButtons buttons;
    FakeWakeSource wake;

    FakeProgram() { joystick.Plug(0); }
    // `withWake` false: no wake source, the poll timer never stops.
    ProgramPorts FakePorts(bool withWake) {
        return Ports(joystick, pointer, buttons, withWake ? &wake : nullptr);
    }
    ProgramLocation Location() const { return LocationIn(folder.path()); }
    std::filesystem::path SettingsFile() const { return SettingsPath(folder.path()); }
    // The settings file as the run saved it; none fails the test.
    Settings Saved() const {
        Settings saved;
        EXPECT_EQ(LoadSettings(SettingsFile(), saved), SettingsLoad::Found);
        return saved;
    }
};

}  // namespace vantrel::test
