// Every desktop service a whole run of the program reaches, faked, and the ports made from them
// with the joystick, pointer and wake source a test brings.
#pragma once

#include <filesystem>
#include <functional>

#include "core/program/ProgramRun.h"
#include "support/fakes/FakeFileDialog.h"
#include "support/fakes/FakeHttpFetch.h"
#include "support/fakes/FakeLocale.h"
#include "support/fakes/FakeManifestPlatform.h"
#include "support/fakes/FakeMessageBox.h"
#include "support/fakes/FakeOpener.h"
#include "support/fakes/FakeProcessLauncher.h"
#include "support/fakes/FakeRunEntry.h"

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

    // `wake`: none, the poll timer never stops.
    ProgramPorts Ports(JoystickPort& joystick, PointerOutput pointer, MouseButtonPort& buttons,
                       WakeSourcePort* wake) {
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

}  // namespace vantrel::test
