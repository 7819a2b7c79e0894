// Start-up of a fresh process: time from its start to the tray icon on the screen, and its
// resident memory then and after a while.
#pragma once

namespace vantrel::bench {

// Starts this program again with StartupChild's arguments and waits for it.
void StartupFigures(const char* self);
// The started copy: `startNs` is the steady clock when the parent started it.
int StartupChild(int argc, char** argv, long long startNs);

}  // namespace vantrel::bench
