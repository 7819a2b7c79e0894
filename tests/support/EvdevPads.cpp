// Pads as their evdev nodes describe them: the name, ids, buttons and axes (range, fuzz, flat)
// that the kernel drivers set up, as evtest shows them.
#include <linux/input.h>

#include "support/ScriptedJoystick.h"

namespace vantrel::test {

namespace {

// Axes as drivers set them up: a stick from -32768 to 32767, a stick or trigger from 0 to 255
// (at rest at `rest` when given), a hat from -1 to 1; no fuzz or flat unless given.
PadAxis Wide(unsigned short code, int fuzz = 0, int flat = 0) {
    return {code, -32768, 32767, fuzz, flat};
}
PadAxis Byte(unsigned short code, std::optional<int> rest = std::nullopt) {
    return {code, 0, 255, 0, 0, rest};
}
PadAxis Hat(unsigned short code) {
    return {code, -1, 1, 0, 0};
}

// hid-playstation's gamepad node, alike for the DualShock 4 and the DualSense: sticks and
// triggers 0 to 255 with no fuzz and no flat (the driver filters nothing), the pad as a hat.
const std::vector<unsigned short> kPlayStationKeys{
    BTN_SOUTH, BTN_EAST,   BTN_NORTH, BTN_WEST, BTN_TL,     BTN_TR,    BTN_TL2,
    BTN_TR2,   BTN_SELECT, BTN_START, BTN_MODE, BTN_THUMBL, BTN_THUMBR};
const std::vector<PadAxis> kPlayStationAxes{Byte(ABS_X),    Byte(ABS_Y),   Byte(ABS_Z),
                                            Byte(ABS_RX),   Byte(ABS_RY),  Byte(ABS_RZ),
                                            Hat(ABS_HAT0X), Hat(ABS_HAT0Y)};

}  // namespace

// A plain four-button joystick, with no game-controller mapping anywhere.
const EvdevPad kPlainPad{"Vantrel Scripted Pad",
                         {BUS_USB, 0x1209, 0x7a11, 0x0111},
                         {BTN_TRIGGER, BTN_THUMB, BTN_THUMB2, BTN_TOP},
                         {Wide(ABS_X), Wide(ABS_Y)}};

// Vendor ids from the range for tests: no game-controller mapping knows them.
const EvdevPad kUnmappedTwinStick{
    "Vantrel Scripted Twin Stick",
    {BUS_USB, 0x1209, 0x7a12, 0x0111},
    {BTN_TRIGGER, BTN_THUMB, BTN_THUMB2, BTN_TOP},
    {Wide(ABS_X), Wide(ABS_Y), Byte(ABS_Z, 0), Wide(ABS_RX), Wide(ABS_RY), Byte(ABS_RZ, 0)}};

const EvdevPad kUnmappedTriggersFirst{
    "Vantrel Scripted Triggers First",
    {BUS_USB, 0x1209, 0x7a13, 0x0111},
    {BTN_TRIGGER, BTN_THUMB, BTN_THUMB2, BTN_TOP},
    {Byte(ABS_X), Byte(ABS_Y), Byte(ABS_Z), Byte(ABS_RX, 0), Byte(ABS_RY, 0), Byte(ABS_RZ)}};

const EvdevPad kDualShock4{"Sony Interactive Entertainment Wireless Controller",
                           {BUS_USB, 0x054c, 0x09cc, 0x8111},
                           kPlayStationKeys,
                           kPlayStationAxes};

const EvdevPad kDualSense{"Sony Interactive Entertainment DualSense Wireless Controller",
                          {BUS_USB, 0x054c, 0x0ce6, 0x8111},
                          kPlayStationKeys,
                          kPlayStationAxes};

// An Xbox One S pad over Bluetooth read by hid-input's generic mapping: HID buttons 1 to 15
// become BTN_A to BTN_THUMBR, BTN_C and BTN_Z included though the pad has no such buttons; View
// is a consumer key. Fuzz and flat are hid-input's range / 256 and range / 16.
const EvdevPad kXboxBluetooth{
    "Xbox Wireless Controller",
    {BUS_BLUETOOTH, 0x045e, 0x02fd, 0x0903},
    {KEY_BACK, BTN_SOUTH, BTN_EAST, BTN_C, BTN_NORTH, BTN_WEST, BTN_Z, BTN_TL, BTN_TR, BTN_TL2,
     BTN_TR2, BTN_SELECT, BTN_START, BTN_MODE, BTN_THUMBL, BTN_THUMBR},
    {{ABS_X, 0, 65535, 255, 4095},
     {ABS_Y, 0, 65535, 255, 4095},
     {ABS_Z, 0, 65535, 255, 4095},
     {ABS_RZ, 0, 65535, 255, 4095},
     {ABS_GAS, 0, 1023, 3, 63},
     {ABS_BRAKE, 0, 1023, 3, 63},
     Hat(ABS_HAT0X),
     Hat(ABS_HAT0Y)}};

// A wired Xbox 360 pad read by xpad: sticks -32768 to 32767 with xpad's fuzz and flat, the
// triggers 0 to 255, the pad as a hat.
const EvdevPad kXbox360{
    "Microsoft X-Box 360 pad",
    {BUS_USB, 0x045e, 0x028e, 0x0114},
    {BTN_SOUTH, BTN_EAST, BTN_NORTH, BTN_WEST, BTN_TL, BTN_TR, BTN_SELECT, BTN_START, BTN_MODE,
     BTN_THUMBL, BTN_THUMBR},
    {Wide(ABS_X, 16, 128), Wide(ABS_Y, 16, 128), Byte(ABS_Z), Wide(ABS_RX, 16, 128),
     Wide(ABS_RY, 16, 128), Byte(ABS_RZ), Hat(ABS_HAT0X), Hat(ABS_HAT0Y)}};

}  // namespace vantrel::test
