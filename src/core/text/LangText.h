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
    // Lines added since the first language files; files without them show the English text.
    XWaylandWarning = 34,    // "<BR>" starts a paragraph
    JoystickPicture = 35,    // what a screen reader says for the options dialog's picture
    SettingsNotSaved = 36,   // the settings folder cannot be written
    PointerOutputLost = 37,  // the pointer output was lost or fell back to another one
    XTestMissing = 38,       // the X server lacks the XTEST extension
    PortalRefused = 39,      // the RemoteDesktop portal refused the session
    PortalClosed = 40,       // the RemoteDesktop portal closed the session
    // The options dialog's scroll controls.
    ScrollStickCaption = 41,  // the box: the second stick scrolls
    ScrollSpeedCaption = 42,  // the caption of the speed
    ScrollSlow = 43,          // the slow end of the speed
    ScrollFast = 44,          // its fast end
    NoScrollStick = 45,       // why they are disabled: the pad has no second stick
    MenuPause = 46,           // the tray menu's check entry that pauses the joystick
    PausedTooltip = 47,       // the tray icon's tooltip while paused
    PauseChordCaption = 48,   // the options dialog's caption of the two pause buttons
    WaitingForJoystick = 49,  // the tray icon's tooltip while a start at logon waits for a pad
};

// The first line added after language files were first shipped: from here on a file that lacks
// a line, or leaves it empty, shows the built-in English text instead.
inline constexpr std::size_t kFirstAddedLine = 34;

inline constexpr std::size_t kTextCount = 51;  // index 0 is never used

// Every entry is UTF-8. A default-made table is empty; the program starts from BuiltInTexts().
struct LangText : std::array<std::string, kTextCount> {
    using std::array<std::string, kTextCount>::operator[];
    std::string& operator[](TextId id) { return (*this)[static_cast<std::size_t>(id)]; }
    const std::string& operator[](TextId id) const { return (*this)[static_cast<std::size_t>(id)]; }
};

}  // namespace vantrel
