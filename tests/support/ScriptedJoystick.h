// A gamepad that SDL finds and reads as a real evdev joystick: a device node and udev entry made
// up by umockdev (the process runs under umockdev-wrapper), answering the evdev queries SDL makes
// and handing every open descriptor its own copy of each report, as the kernel does.
#pragma once

#include <linux/input.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct _UMockdevTestbed;

namespace vantrel::test {

// One absolute axis as EVIOCGABS tells it; at rest in the middle unless `rest` says otherwise
// (a trigger's end).
struct PadAxis {
    unsigned short code;
    int minimum, maximum, fuzz, flat;
    std::optional<int> rest = std::nullopt;
    int Middle() const { return (minimum + maximum + 1) / 2; }
};

// What a pad's evdev node says of itself. The first two axes are the stick the program reads.
struct EvdevPad {
    const char* name;
    input_id id;                       // bus, vendor, product, version
    std::vector<unsigned short> keys;  // EV_KEY codes, in code order
    std::vector<PadAxis> axes;         // in code order
};

// The rig's own plain pad, and real ones as their kernel drivers set them up; two pads without
// a mapping anywhere, with a second stick where xpad puts it and where generic HID puts it
// behind two triggers resting at their ends.
extern const EvdevPad kPlainPad;
extern const EvdevPad kUnmappedTwinStick;
extern const EvdevPad kUnmappedTriggersFirst;
extern const EvdevPad kDualShock4;     // USB, hid-playstation
extern const EvdevPad kDualSense;      // USB, hid-playstation
extern const EvdevPad kXboxBluetooth;  // Bluetooth, hid-generic (no xpadneo)
extern const EvdevPad kXbox360;        // USB, xpad

// The umockdev testbed scripted pads live in. Pads that must be seen together share one: a
// second testbed made in a process hides the devices of the first.
class PadBed {
  public:
    PadBed();
    ~PadBed();
    PadBed(const PadBed&) = delete;
    PadBed& operator=(const PadBed&) = delete;
    _UMockdevTestbed* Testbed() const { return bed_; }

  private:
    _UMockdevTestbed* bed_;
};

class ScriptedJoystick {
  public:
    // Plugs the pad in at /dev/input/event<number>, in a testbed of its own or in `bed` (which
    // must outlive it). SDL sees it at its next device scan, or when Plug announces it.
    explicit ScriptedJoystick(int number = 7, const EvdevPad& pad = kPlainPad,
                              PadBed* bed = nullptr);
    ~ScriptedJoystick();
    ScriptedJoystick(const ScriptedJoystick&) = delete;
    ScriptedJoystick& operator=(const ScriptedJoystick&) = delete;

    // False outside umockdev-wrapper or when the testbed could not be made.
    bool Ready() const;
    std::string Node() const;
    const EvdevPad& Description() const;

    // One report: the stick on SDL's scale (-32768 to 32767) and the buttons, bit n for SDL's
    // button n, then SYN_REPORT. Only what changed is sent, as a device does.
    void Report(int x, int y, unsigned buttons);
    // The same with the stick in the device's own units.
    void ReportRaw(int x, int y, unsigned buttons);
    // One report of axis `code` alone, in the device's units.
    void ReportAxis(unsigned short code, int value);
    // Pulled out: every descriptor then reads ENODEV, and udev announces the removal.
    void Unplug();
    // Plugged in while the program runs (again, after Unplug): at rest, announced by udev.
    void Plug();
    // Reads the program made on the node so far. Under umockdev each one is a round trip to
    // this process's handler thread, which a kernel node does not cost: the benchmark takes
    // them off its wake-up counts.
    unsigned long Reads() const;
    // True while no descriptor that is polled is owed events (see the bell in the source).
    bool Quiet() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vantrel::test
