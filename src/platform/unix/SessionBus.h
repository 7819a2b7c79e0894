// Keeps D-Bus from launching a session bus that cannot start: without a bus address libdbus
// forks the whole program to run dbus-launch, once for SDL and once for Qt.
#pragma once

namespace vantrel {

// Before SDL and Qt start (single-threaded): when the session has no bus address, no user bus
// socket and no dbus-launch to start one, tells libdbus so, and every connection attempt fails
// at once instead of forking. True when it did.
bool SkipHopelessBusLaunch();

}  // namespace vantrel
