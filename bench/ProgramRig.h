// The program's own main window, started the way main() starts it, on the real SDL and X11
// backends, with an SDL virtual joystick or a scripted evdev one (tests/support/ScriptedJoystick,
// found by SDL through udev and watched by the real wake source) as the joystick. Ports that
// would reach the network or the user's desktop set-up are fakes. Needs a QApplication.
#pragma once

#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>

namespace vantrel {
class AboutWindow;
class OptionsDialog;
class TrayApplication;
class WakeSourcePort;
}  // namespace vantrel
namespace vantrel::test {
struct EvdevPad;
class ScriptedJoystick;
}  // namespace vantrel::test

namespace vantrel::bench {

// Runs the event loop for `ms` milliseconds.
void RunLoop(int ms);

class ProgramRig {
  public:
    // `wake`, when given, must outlive the rig: what wakes the program while its timer sleeps
    // (none: the timer never stops, as with a virtual joystick).
    explicit ProgramRig(WakeSourcePort* wake = nullptr);
    // With a scripted joystick so described and the udev wake source (the process runs under
    // umockdev-wrapper).
    struct Scripted {
        const test::EvdevPad* pad;
    };
    explicit ProgramRig(Scripted);
    ~ProgramRig();
    ProgramRig(const ProgramRig&) = delete;
    ProgramRig& operator=(const ProgramRig&) = delete;

    // Empty when the rig is ready; otherwise why not.
    const std::string& Problem() const { return problem_; }

    // Runs the start-up sequence: the poll timer starts and the tray icon is added.
    void Start();
    // The main window's poll timer.
    QTimer& PollTimer();
    // True once the tray icon is on the screen with its picture.
    bool TrayIconShown();
    // X round trips (requests with a reply) the window's pointer made so far, and how many of
    // their replies it slept for.
    std::uint64_t PointerRoundTrips() const;
    std::uint64_t PointerWaits() const;
    // True: the position text at rest is read with a fresh query instead of a pipelined one.
    void SetFreshDisplayReads(bool fresh);
    // True: moving ticks read and place the pointer instead of sending relative motions.
    void SetReadAndPlace(bool readAndPlace);
    // Moves the joystick's stick (SDL values, -32768..32767).
    void MoveStick(int x, int y);
    // Moves the virtual joystick's second stick, which scrolls; false for the scripted one.
    bool MoveScrollStick(int x, int y);
    // The scripted joystick; null for the virtual one.
    test::ScriptedJoystick* ScriptedPad();
    // Poll-timer ticks so far.
    std::uint64_t Ticks() const;
    // Reads of the scripted joystick's node so far (0 for the virtual one): round trips to
    // umockdev's handler that a kernel node does not cost.
    unsigned long EmulatedReads() const;
    // What one such read costs the calling thread in wake-ups, measured on a descriptor of the
    // node's own (0 for the virtual joystick).
    double WakeUpsPerEmulatedRead();
    // Pointer placements the window made so far.
    std::uint64_t Placements() const;
    // True while the poll timer sleeps.
    bool Asleep();
    // The program's main window, and its windows while they are open (else null).
    TrayApplication& Window();
    OptionsDialog* OpenOptionsDialog();
    AboutWindow* OpenAboutWindow();
    // The language menu's choice of `file` from the program folder's Lang/.
    void ChooseLanguage(const std::string& file);

  private:
    void Build(WakeSourcePort* wake);

    struct Parts;
    std::unique_ptr<Parts> parts_;
    std::string problem_;
};

}  // namespace vantrel::bench
