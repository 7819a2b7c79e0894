// The options dialog without widgets: its lists, texts, flags and every rule of loading,
// editing and applying, so the Qt dialog only mirrors it.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/JoystickPort.h"
#include "core/settings/AddedSettings.h"
#include "core/settings/Settings.h"
#include "core/text/LangText.h"

namespace vantrel {

// The five lists of the dialog, in tab order.
enum class Choice { Left, Right, Middle, Speed, Joystick };
// The check boxes.
enum class Check { Acceleration, StartAtLogon, ScrollStick };
// The pause chord's two lists, its first and second button.
enum class ChordList { First, Second };

// The scroll speed's steps, slowest first: the setting's own range.
inline constexpr int kSlowestScroll = AddedSettingOf(&Settings::ScrollSpeed).lowest;
inline constexpr int kFastestScroll = AddedSettingOf(&Settings::ScrollSpeed).highest;

// One editable drop-down list: its items, the text in its field and the picked item.
struct ListChoice {
    std::vector<std::string> items;
    std::string text;
    std::optional<int> position;  // 0-based index into items; none after typing or clearing

    bool operator==(const ListChoice&) const = default;
};

// Captions as their sources give them: "&" marks an access key, "&&" is one ampersand.
// Defaults are the window's captions as it was first drawn, in Italian, the program's first
// language (the credit line's placeholder among them); a load replaces every one of them from
// the language, except the game-controller link, which a language file may lack and which then
// keeps its built-in text.
struct OptionsTexts {
    std::string title = "Vantrel";
    std::string leftButton = "Pulsante sinistro del mouse";
    std::string rightButton = "Pulsante destro del mouse";
    std::string middleButton = "Pulsante centrale del mouse";
    std::string speed = "Velocità del puntatore";
    std::string credit = "Label5";
    std::string joystick = "Joystick in uso";
    std::string mouseSettingsLink = "Proprietà del mouse...";
    std::string controllerSettingsLink = "Proprietà del Joystick...";
    std::string startAtLogon = "Carica all'avvio di Windows";
    std::string acceleration = "Abilita accelerazione";
    std::string ok = "&Ok";
    std::string cancel = "&Annulla";
    std::string apply = "A&pplica";
    std::string joystickPicture;  // spoken by screen readers only
    std::string scrollStick = "Scorri con la seconda levetta";
    std::string scrollSpeed = "Velocità di scorrimento";
    std::string scrollSlow = "Lenta";
    std::string scrollFast = "Veloce";
    std::string noScrollStick;  // a tip on the scroll controls while the pad has no second stick
    std::string pauseChord = "Pa&usa: tieni premuti i due pulsanti";

    bool operator==(const OptionsTexts&) const = default;
};

// What the dialog needs from the rest of the program. Each operation may fail; the dialog
// goes on regardless.
struct OptionsServices {
    // Fills the zeroed record with the capabilities of the joystick in use; leaves it zeroed
    // when the device does not answer.
    std::function<void(JoystickInfo&)> readJoystickCaps;
    // The number of joysticks present now.
    std::function<int()> joystickCount;
    // The device id the joystick list shows picked: where the joystick in use is now. None:
    // the setting JoystickId.
    std::function<int()> joystickInUse;
    // Apply and OK after the user picked in the joystick list, with JoystickId already set:
    // the pad JoystickId names is the one in use from now on.
    std::function<void()> chooseJoystick;
    // Brings the start-at-logon entry in line with the settings; false when that failed.
    std::function<bool()> syncRunEntry;
    // Rewrites the settings file from the settings; false when that failed.
    std::function<bool()> saveSettings;
};

// Not created: nothing loaded. Shown / Hidden: loaded, with the edits kept while hidden.
enum class OptionsState { NotCreated, Shown, Hidden };

// The text on the credit line before the language's own words.
inline constexpr std::string_view kCreditPrefix = "Dorvane && Kestani - ";

class OptionsModel {
  public:
    OptionsModel(Settings& settings, const LangText& texts, OptionsServices services);

    OptionsState State() const { return state_; }
    bool Loaded() const { return state_ != OptionsState::NotCreated; }

    // Opening from the menu: loads when not created, then shown. True when it loaded; an
    // open dialog (shown or hidden) is shown again with its edits, and only the pads are
    // looked at again (RefreshPads).
    bool Open();
    // The Apply button: writes the settings, syncs the run entry, saves, disables Apply. After
    // a pick in the joystick list, the pad picked is taken into use first and the dialog then
    // shows it (RefreshPads).
    void Apply();
    // The OK button: Apply (even when disabled), then hidden.
    void Ok();
    // The Cancel button: hidden; edits and the Apply flag stay as they are.
    void Cancel();
    // The close box, and a language change: unloads; unapplied edits are lost.
    void Unload();

    // The user picked item `index` of a list; ignored outside the list.
    void Pick(Choice choice, int index);
    // The user typed: the field now holds `text` and no item is picked.
    void Type(Choice choice, std::string text);
    // The user toggled a check box.
    void SetChecked(Check check, bool ticked);
    // The user moved the scroll speed to `step`; ignored outside the steps.
    void SetScrollSpeed(int step);
    // The user picked item `position` of a chord list. Refused (nothing changes) outside the
    // list, and where both lists would name one button: held alone it would pause.
    void PickChord(ChordList list, int position);

    const ListChoice& List(Choice choice) const;
    bool Checked(Check check) const;
    int ScrollSpeed() const { return scrollSpeed_; }
    // The chord lists' items, the same in both: "" (no chord), then "Button 1" up to the pad's
    // last button or 31 (button 32 cannot be told from no button); position n is button n.
    const std::vector<std::string>& ChordItems() const { return chordItems_; }
    int ChordPosition(ChordList list) const { return chord_[static_cast<std::size_t>(list)]; }
    // The scroll controls can be used only with a second stick on the pad in use, the speed
    // only while the box is ticked as well; disabled, they keep their values.
    bool ScrollStickEnabled() const { return caps_.hasScrollStick; }
    bool ScrollSpeedEnabled() const { return ScrollStickEnabled() && Checked(Check::ScrollStick); }
    bool ApplyEnabled() const { return applyEnabled_; }
    const JoystickInfo& Caps() const { return caps_; }
    const OptionsTexts& Texts() const { return texts_; }

  private:
    void Load();
    // The pads as they are now: the joystick list holds those present, picked at the one in
    // use unless the user picked another; the title and button lists follow the pad in use,
    // keeping the buttons picked that it has.
    void RefreshPads();
    // The button lists' and the chord lists' items from the pad's button count.
    void FillButtonItems();
    // The chord lists' picks from the settings, a chord left to the pad from its Back and Start.
    void ChordFromSettings();
    void FillJoystickItems();
    int JoystickInUse() const;
    // Clears a list's pick when the list no longer holds it.
    void ClearPickOutside(Choice choice);
    ListChoice& MutableList(Choice choice);
    // Sets a position from a settings value; a value outside the list selects nothing and
    // counts as no change. -1 means "no position". False when the value was outside.
    bool SetPosition(Choice choice, int position);
    // Change handling of one list: the uniqueness rule for buttons, else Apply enabled.
    void Changed(Choice choice);
    // A check box value; setting the value it already has is no change.
    void SetCheck(Check check, bool ticked);
    void EnforceUnique(Choice changed);
    void Clear(Choice choice);

    Settings& settings_;
    const LangText& lang_;
    OptionsServices services_;

    OptionsState state_ = OptionsState::NotCreated;
    std::array<ListChoice, 5> lists_;
    std::array<bool, 3> checks_{};
    int scrollSpeed_ = Settings{}.ScrollSpeed;
    std::vector<std::string> chordItems_;
    std::array<int, 2> chord_{};
    // Apply leaves the chord's settings alone until a list is changed: a button the pad in use
    // lacks, shown as none, would otherwise be lost.
    bool chordPicked_ = false;
    bool applyEnabled_ = false;
    JoystickInfo caps_;
    OptionsTexts texts_;
    std::string titlePrefix_;      // the title before the pad's name, as loaded
    bool joystickPicked_ = false;  // the user picked or typed in the joystick list, not applied
};

}  // namespace vantrel
