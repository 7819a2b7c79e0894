// A gamepad that SDL finds and reads as a real evdev joystick: a device node and udev entry made
// up by umockdev (the process runs under umockdev-wrapper), answering the evdev queries SDL makes
// and handing every open descriptor its own copy of each report, as the kernel does.
#pragma once

#include <memory>
#include <string>

namespace vantrel::test {

class ScriptedJoystick {
  public:
    static constexpr const char* kName = "Vantrel Scripted Pad";
    static constexpr int kButtons = 4;

    // Plugs the pad in at /dev/input/event<number>. SDL sees it at its next device scan.
    explicit ScriptedJoystick(int number = 7);
    ~ScriptedJoystick();
    ScriptedJoystick(const ScriptedJoystick&) = delete;
    ScriptedJoystick& operator=(const ScriptedJoystick&) = delete;

    // False outside umockdev-wrapper or when the testbed could not be made.
    bool Ready() const;
    std::string Node() const;

    // One report: both axes of the stick (-32768 to 32767) and every button, then SYN_REPORT.
    // Only what changed is sent, as a device does.
    void Report(int x, int y, unsigned buttons);
    // Pulled out: every descriptor then reads ENODEV, and udev announces the removal.
    void Unplug();
    // Reads the program made on the node so far. Under umockdev each one is a round trip to
    // this process's handler thread, which a kernel node does not cost: the benchmark takes
    // them off its wake-up counts.
    unsigned long Reads() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vantrel::test
