// The table of interface texts: entry n holds line n of the current language file (1..50), and
// TextId names the entries the program shows.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace vantrel {

// Line numbers of the language file; the file format fixes them.
enum class TextId : std::size_t {
    OkButton = 1,
    CancelButton = 2,
    ApplyButton = 3,
    MessageTitle = 4,          // title of the "already running" and "no joystick" messages
    AlreadyRunningBefore = 5,  // "The program"
    AlreadyRunningAfter = 6,   // "is already running."
    MenuOptions = 7,
    MenuDonation = 8,
    MenuCheckForUpdates = 9,
    MenuLicense = 10,
    MenuVersionHistory = 11,
    MenuAbout = 12,
    MenuExit = 13,
    AboutDescription = 14,
    Credit = 15,      // after the makers' names; also the language dialog's title
    ButtonWord = 16,  // "Button" in "Button 1"
    LeftButtonCaption = 17,
    RightButtonCaption = 18,
    MiddleButtonCaption = 19,
    SpeedCaption = 20,
    JoystickCaption = 21,
    AccelerationCaption = 22,
    StartAtLogonCaption = 23,
    NoJoystickFirst = 24,
    NoJoystickSecond = 25,
    MenuLanguage = 26,  // its last three characters are dots
    MenuMoreLanguages = 27,
    AboutTitle = 28,
    OptionsTitle = 29,
    MouseSettingsLink = 30,
    ControllerSettingsLink = 31,
    UpdateQuestion = 32,
    UpdateTitle = 33,
    SettingsNotSaved = 36,
    XTestMissing = 38,  // the X server cannot click: no XTEST extension
};

inline constexpr std::size_t kTextCount = 51;  // index 0 is never used

// Every entry is UTF-8 and empty until a language file is read.
struct LangText : std::array<std::string, kTextCount> {
    using std::array<std::string, kTextCount>::operator[];
    std::string& operator[](TextId id) { return (*this)[static_cast<std::size_t>(id)]; }
    const std::string& operator[](TextId id) const { return (*this)[static_cast<std::size_t>(id)]; }
};

}  // namespace vantrel
