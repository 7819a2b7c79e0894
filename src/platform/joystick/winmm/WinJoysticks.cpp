#include "platform/joystick/winmm/WinJoysticks.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/engine/JoystickDiscovery.h"
#include "platform/joystick/winmm/WinJoystickRecords.h"

namespace vantrel {

namespace {

// The fields read from JOYCAPSA: up to wPeriodMax, then wCaps and wNumAxes.
static_assert(offsetof(JOYCAPSA, wRmin) == 72);
static_assert(offsetof(JOYCAPSA, wCaps) == 96 && offsetof(JOYCAPSA, wNumAxes) == 104);
static_assert(sizeof(JOYINFOEX) == 52);
static_assert(JOY_RETURNALL == 255);

// Makers of pads that speak XInput (for winmm a pad's maker is its USB vendor). Through winmm
// such a pad has ten buttons in XInput's order: A, B, X, Y, LB, RB, Back, Start, the two sticks.
constexpr std::array<WORD, 9> kXInputVendors{
    0x045e,  // Microsoft
    0x046d,  // Logitech
    0x0738,  // Mad Catz
    0x0e6f,  // PDP
    0x0f0d,  // Hori
    0x1532,  // Razer
    0x24c6,  // PowerA
    0x28de,  // Valve (Steam's own pad)
    0x2dc8,  // 8BitDo
};
constexpr UINT kXInputButtons = 10;
constexpr std::array<std::int16_t, 2> kXInputBackStart{7, 8};

// Text in the system code page as UTF-8; empty when it cannot be converted.
std::string AnsiToUtf8(const char* text, int length) {
    if (length == 0) return {};
    const int wide = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    if (wide <= 0) return {};
    std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, length, utf16.data(), wide);
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

}  // namespace

JoystickInfo CapsFromRecord(const JOYCAPSA& record) {
    JoystickInfo caps;
    // The name need not be NUL-ended when it fills all 32 bytes.
    const char* name = record.szPname;
    const int length = static_cast<int>(strnlen(name, sizeof record.szPname));
    caps.name = AnsiToUtf8(name, length);
    caps.buttonCount = record.wNumButtons;
    // Ten buttons alone also make many a plain pad, whose 7 and 8 are its lower shoulders.
    if (record.wNumButtons == kXInputButtons &&
        std::find(kXInputVendors.begin(), kXInputVendors.end(), record.wMid) !=
            kXInputVendors.end())
        caps.backStartButtons = kXInputBackStart;
    return caps;
}

PadIdentity IdentityFromRecord(const JOYCAPSA& record) {
    char ids[16];
    std::snprintf(ids, sizeof ids, "%04x:%04x ", record.wMid, record.wPid);
    return PadIdentity{.model = ids + CapsFromRecord(record).name};
}

RecordAxesAtOpen AxesAtOpen(const JOYCAPSA& caps, const JOYINFOEX& reading) {
    return {.hasZ = (caps.wCaps & JOYCAPS_HASZ) != 0,
            .hasR = (caps.wCaps & JOYCAPS_HASR) != 0,
            .hasU = (caps.wCaps & JOYCAPS_HASU) != 0,
            .axisCount = caps.wNumAxes,
            .z = reading.dwZpos,
            .r = reading.dwRpos,
            .u = reading.dwUpos};
}

JoystickState StateFromRecord(const JOYINFOEX& record,
                              const std::optional<RecordScrollAxes>& scroll) {
    JoystickState state;
    state.x = record.dwXpos;
    state.y = record.dwYpos;
    state.buttons = record.dwButtons;
    if (scroll) {
        state.scrollX = scroll->horizontal == RecordAxis::U ? record.dwUpos : record.dwZpos;
        state.scrollY = record.dwRpos;
    }
    return state;
}

namespace {

bool ReadRecord(int id, JOYINFOEX& record) {
    record = JOYINFOEX{};
    record.dwSize = sizeof record;
    record.dwFlags = JOY_RETURNALL;
    return joyGetPosEx(static_cast<UINT>(id), &record) == JOYERR_NOERROR;
}

// The whole record is asked for: wine refuses any other size (JOYERR_PARMS), so a shorter request
// would find no joystick there.
bool ReadCaps(int id, JOYCAPSA& record) {
    record = JOYCAPSA{};
    return id >= 0 &&
           joyGetDevCapsA(static_cast<UINT_PTR>(id), &record, sizeof record) == JOYERR_NOERROR;
}

}  // namespace

bool WinJoysticks::ReadInfo(int id, JoystickInfo& caps) {
    JOYCAPSA record;
    if (!ReadCaps(id, record)) return false;
    caps = CapsFromRecord(record);
    // The second stick is chosen once, from the first look at the joystick (at the start), so a
    // stick held when the options are opened later changes nothing; another device at the id
    // is looked at anew.
    Opened& opened = opened_[id];
    if (!opened.looked || opened.maker != record.wMid || opened.product != record.wPid) {
        JOYINFOEX reading;
        opened = {.looked = true, .maker = record.wMid, .product = record.wPid, .scroll = {}};
        if (ReadRecord(id, reading))
            opened.scroll = ScrollAxesOfRecord(AxesAtOpen(record, reading));
    }
    caps.hasScrollStick = opened.scroll.has_value();
    return true;
}

bool WinJoysticks::ReadState(int id, JoystickState& state) {
    if (id < 0) return false;
    JOYINFOEX record;
    const bool read = ReadRecord(id, record);
    Mark(id, read);
    if (!read) return false;
    const auto opened = opened_.find(id);
    state = StateFromRecord(record, opened != opened_.end() ? opened->second.scroll : std::nullopt);
    return true;
}

bool WinJoysticks::ReadIdentity(int id, PadIdentity& identity) {
    JOYCAPSA record;
    if (!ReadCaps(id, record)) return false;
    identity = IdentityFromRecord(record);
    return true;
}

void WinJoysticks::RefreshDevices() {
    if (refreshCalls_++ % kRefreshEvery != 0) return;
    for (int id = 0; id <= kMaxJoystickId; ++id) {
        JOYINFOEX record{};
        record.dwSize = sizeof record;
        record.dwFlags = JOY_RETURNBUTTONS;
        Mark(id, joyGetPosEx(static_cast<UINT>(id), &record) == JOYERR_NOERROR);
    }
}

void WinJoysticks::Mark(int id, bool present) {
    if (id >= 64) return;
    const std::uint64_t bit = std::uint64_t{1} << id;
    present_ = present ? present_ | bit : present_ & ~bit;
}

}  // namespace vantrel
