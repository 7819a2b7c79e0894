#include "core/options/OptionsModel.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <utility>

#include "core/engine/PauseChord.h"

namespace vantrel {

namespace {

// Positions are stored as 16-bit settings values (position + 1), so no list grows beyond
// what such a value can name, whatever a device reports.
constexpr std::int64_t kMaxItems = std::numeric_limits<std::int16_t>::max();

constexpr std::array<std::string_view, 6> kSpeedItems = {"0.5", "1", "1.5", "2", "2.5", "3"};

constexpr std::size_t Index(Choice c) {
    return static_cast<std::size_t>(c);
}
constexpr std::size_t Index(Check c) {
    return static_cast<std::size_t>(c);
}

std::int16_t ChordSetting(int position, std::int16_t padsOwn) {
    return position == padsOwn ? kPadsOwnButton : static_cast<std::int16_t>(position);
}

bool IsScrollStep(int step) {
    return step >= kSlowestScroll && step <= kFastestScroll;
}

bool IsButton(Choice c) {
    return c == Choice::Left || c == Choice::Right || c == Choice::Middle;
}

// The captions from the language; the title is completed once the joystick's name is known.
OptionsTexts DialogTexts(const LangText& lang) {
    OptionsTexts texts;
    texts.leftButton = lang[TextId::LeftButtonCaption];
    texts.rightButton = lang[TextId::RightButtonCaption];
    texts.middleButton = lang[TextId::MiddleButtonCaption];
    texts.speed = lang[TextId::SpeedCaption];
    texts.credit = std::string(kCreditPrefix) + lang[TextId::Credit];
    texts.joystick = lang[TextId::JoystickCaption];
    texts.mouseSettingsLink = lang[TextId::MouseSettingsLink];
    // The game-controller link is translated when the language file has a text for it.
    if (!lang[TextId::ControllerSettingsLink].empty())
        texts.controllerSettingsLink = lang[TextId::ControllerSettingsLink];
    texts.startAtLogon = lang[TextId::StartAtLogonCaption];
    texts.acceleration = lang[TextId::AccelerationCaption];
    texts.ok = lang[TextId::OkButton];
    texts.cancel = lang[TextId::CancelButton];
    texts.apply = lang[TextId::ApplyButton];
    texts.joystickPicture = lang[TextId::JoystickPicture];
    texts.scrollStick = lang[TextId::ScrollStickCaption];
    texts.scrollSpeed = lang[TextId::ScrollSpeedCaption];
    texts.scrollSlow = lang[TextId::ScrollSlow];
    texts.scrollFast = lang[TextId::ScrollFast];
    texts.noScrollStick = lang[TextId::NoScrollStick];
    texts.pauseChord = lang[TextId::PauseChordCaption];
    return texts;
}

}  // namespace

OptionsModel::OptionsModel(Settings& settings, const LangText& texts, OptionsServices services)
    : settings_(settings), lang_(texts), services_(std::move(services)) {}

bool OptionsModel::Open() {
    if (state_ != OptionsState::NotCreated) {
        RefreshPads();
        state_ = OptionsState::Shown;
        return false;
    }
    Load();
    state_ = OptionsState::Shown;
    return true;
}

void OptionsModel::Load() {
    lists_ = {};
    checks_ = {};
    caps_ = JoystickInfo{};

    // A failed query leaves the record zeroed: no name, no buttons.
    if (services_.readJoystickCaps) services_.readJoystickCaps(caps_);

    texts_ = DialogTexts(lang_);
    FillButtonItems();
    ChordFromSettings();
    chordPicked_ = false;

    for (const auto speed : kSpeedItems) MutableList(Choice::Speed).items.emplace_back(speed);

    // Each position set is a change of that choice, so an earlier duplicate is cleared.
    for (const auto& [choice, value] : {std::pair{Choice::Left, settings_.LeftButton},
                                        std::pair{Choice::Right, settings_.RightButton},
                                        std::pair{Choice::Middle, settings_.MiddleButton}}) {
        if (SetPosition(choice, value - 1)) Changed(choice);
    }

    FillJoystickItems();
    if (SetPosition(Choice::Joystick, JoystickInUse())) Changed(Choice::Joystick);

    // The empty speed is repaired in the settings themselves, even if nothing is applied.
    if (settings_.PointerSpeed.empty()) settings_.PointerSpeed = "2";
    MutableList(Choice::Speed).text = settings_.PointerSpeed;
    Changed(Choice::Speed);

    SetCheck(Check::Acceleration, settings_.Acceleration == 1);
    SetCheck(Check::StartAtLogon, settings_.StartAtLogon == 1);
    SetCheck(Check::ScrollStick, settings_.ScrollStick == 1);
    // A record the file reader did not fill may hold any value: outside the steps, the default.
    scrollSpeed_ =
        IsScrollStep(settings_.ScrollSpeed) ? settings_.ScrollSpeed : Settings{}.ScrollSpeed;

    titlePrefix_ = lang_[TextId::OptionsTitle];
    texts_.title = titlePrefix_ + " - " + caps_.name;

    joystickPicked_ = false;
    applyEnabled_ = false;
}

void OptionsModel::FillButtonItems() {
    const auto buttons = std::min<std::int64_t>(caps_.buttonCount, kMaxItems);
    for (const Choice c : {Choice::Left, Choice::Right, Choice::Middle})
        MutableList(c).items.clear();
    chordItems_ = {""};
    for (std::int64_t n = 1; n <= buttons; ++n) {
        const std::string item = lang_[TextId::ButtonWord] + " " + std::to_string(n);
        MutableList(Choice::Left).items.push_back(item);
        MutableList(Choice::Right).items.push_back(item);
        MutableList(Choice::Middle).items.push_back(item);
        if (n <= kHighestChordButton) chordItems_.push_back(item);
    }
}

void OptionsModel::ChordFromSettings() {
    const std::array<std::int16_t, 2> chosen{settings_.PauseFirst, settings_.PauseSecond};
    for (std::size_t i = 0; i < chord_.size(); ++i) {
        const int button = chosen[i] == kPadsOwnButton ? caps_.backStartButtons[i] : chosen[i];
        chord_[i] =
            button > 0 && static_cast<std::size_t>(button) < chordItems_.size() ? button : 0;
    }
}

void OptionsModel::FillJoystickItems() {
    const auto joysticks =
        std::min<std::int64_t>(services_.joystickCount ? services_.joystickCount() : 0, kMaxItems);
    std::vector<std::string>& items = MutableList(Choice::Joystick).items;
    items.clear();
    for (std::int64_t k = 1; k <= joysticks; ++k) items.push_back(std::to_string(k));
}

int OptionsModel::JoystickInUse() const {
    return services_.joystickInUse ? services_.joystickInUse() : settings_.JoystickId;
}

void OptionsModel::ClearPickOutside(Choice choice) {
    ListChoice& list = MutableList(choice);
    if (!list.position || static_cast<std::size_t>(*list.position) < list.items.size()) return;
    list.position.reset();
    list.text.clear();
}

void OptionsModel::RefreshPads() {
    JoystickInfo caps;
    if (services_.readJoystickCaps) services_.readJoystickCaps(caps);
    if (caps.name != caps_.name || caps.buttonCount != caps_.buttonCount ||
        caps.hasScrollStick != caps_.hasScrollStick ||
        caps.backStartButtons != caps_.backStartButtons) {
        caps_ = caps;
        texts_.title = titlePrefix_ + " - " + caps_.name;
        FillButtonItems();
        for (const Choice c : {Choice::Left, Choice::Right, Choice::Middle}) ClearPickOutside(c);
        // The chord as the settings give it for this pad, unless the user picked one.
        if (!chordPicked_) ChordFromSettings();
        for (int& button : chord_)
            if (static_cast<std::size_t>(button) >= chordItems_.size()) button = 0;
    }
    FillJoystickItems();
    if (joystickPicked_) return ClearPickOutside(Choice::Joystick);
    ListChoice& joystick = MutableList(Choice::Joystick);
    joystick.position.reset();
    joystick.text.clear();
    static_cast<void>(SetPosition(Choice::Joystick, JoystickInUse()));  // outside: none picked
}

void OptionsModel::Apply() {
    if (!Loaded()) return;
    const auto button = [this](Choice c) {
        const auto& p = List(c).position;
        return static_cast<std::int16_t>(p ? *p + 1 : 0);
    };
    settings_.LeftButton = button(Choice::Left);
    settings_.RightButton = button(Choice::Right);
    settings_.MiddleButton = button(Choice::Middle);
    settings_.PointerSpeed = List(Choice::Speed).text;
    settings_.Acceleration = Checked(Check::Acceleration) ? 1 : 0;
    settings_.StartAtLogon = Checked(Check::StartAtLogon) ? 1 : 0;
    settings_.ScrollStick = Checked(Check::ScrollStick) ? 1 : 0;
    settings_.ScrollSpeed = static_cast<std::int16_t>(scrollSpeed_);
    if (chordPicked_) {
        // The pad's own button is kept as such, so the chord follows the pad in use.
        settings_.PauseFirst = ChordSetting(chord_[0], caps_.backStartButtons[0]);
        settings_.PauseSecond = ChordSetting(chord_[1], caps_.backStartButtons[1]);
    }
    const auto& joystick = List(Choice::Joystick).position;
    const bool picked = std::exchange(joystickPicked_, false);
    settings_.JoystickId = static_cast<std::int16_t>(joystick ? *joystick : -1);
    if (picked && services_.chooseJoystick) services_.chooseJoystick();

    // Neither failure is reported: the new values stay in force for the rest of the run.
    [[maybe_unused]] const bool synced = services_.syncRunEntry && services_.syncRunEntry();
    [[maybe_unused]] const bool saved = services_.saveSettings && services_.saveSettings();

    if (picked) RefreshPads();
    applyEnabled_ = false;
}

void OptionsModel::Ok() {
    if (!Loaded()) return;
    Apply();
    state_ = OptionsState::Hidden;
}

void OptionsModel::Cancel() {
    if (Loaded()) state_ = OptionsState::Hidden;
}

void OptionsModel::Unload() {
    state_ = OptionsState::NotCreated;
    lists_ = {};
    checks_ = {};
    scrollSpeed_ = Settings{}.ScrollSpeed;
    chordItems_.clear();
    chord_ = {};
    chordPicked_ = false;
    applyEnabled_ = false;
    joystickPicked_ = false;
    caps_ = JoystickInfo{};
    texts_ = OptionsTexts{};
}

void OptionsModel::Pick(Choice choice, int index) {
    if (!Loaded()) return;
    ListChoice& list = MutableList(choice);
    if (index < 0 || static_cast<std::size_t>(index) >= list.items.size()) return;
    list.text = list.items[static_cast<std::size_t>(index)];
    list.position = index;
    if (choice == Choice::Joystick) joystickPicked_ = true;
    Changed(choice);
}

void OptionsModel::Type(Choice choice, std::string text) {
    if (!Loaded()) return;
    ListChoice& list = MutableList(choice);
    list.text = std::move(text);
    list.position.reset();
    if (choice == Choice::Joystick) joystickPicked_ = true;
    Changed(choice);
}

void OptionsModel::SetChecked(Check check, bool ticked) {
    if (Loaded()) SetCheck(check, ticked);
}

void OptionsModel::SetScrollSpeed(int step) {
    if (!Loaded() || !IsScrollStep(step) || step == scrollSpeed_) return;
    scrollSpeed_ = step;
    applyEnabled_ = true;
}

void OptionsModel::PickChord(ChordList list, int position) {
    const auto mine = static_cast<std::size_t>(list);
    if (!Loaded() || position < 0 || static_cast<std::size_t>(position) >= chordItems_.size() ||
        position == chord_[mine] || (position != 0 && position == chord_[1 - mine]))
        return;
    chord_[mine] = position;
    chordPicked_ = true;
    applyEnabled_ = true;
}

void OptionsModel::SetCheck(Check check, bool ticked) {
    bool& value = checks_[Index(check)];
    if (value == ticked) return;  // setting the same value is no change
    value = ticked;
    applyEnabled_ = true;
}

const ListChoice& OptionsModel::List(Choice choice) const {
    return lists_[Index(choice)];
}

ListChoice& OptionsModel::MutableList(Choice choice) {
    return lists_[Index(choice)];
}

bool OptionsModel::Checked(Check check) const {
    return checks_[Index(check)];
}

bool OptionsModel::SetPosition(Choice choice, int position) {
    ListChoice& list = MutableList(choice);
    if (position == -1) {
        list.text.clear();
        list.position.reset();
        return true;
    }
    if (position < 0 || static_cast<std::size_t>(position) >= list.items.size()) return false;
    list.text = list.items[static_cast<std::size_t>(position)];
    list.position = position;
    return true;
}

void OptionsModel::Changed(Choice choice) {
    if (IsButton(choice)) {
        EnforceUnique(choice);
    } else {
        applyEnabled_ = true;
    }
}

void OptionsModel::EnforceUnique(Choice changed) {
    // The other two, always in the order left, right, middle.
    std::array<Choice, 2> others{};
    std::size_t n = 0;
    for (const Choice c : {Choice::Left, Choice::Right, Choice::Middle}) {
        if (c != changed) others[n++] = c;
    }
    // The changed text is read again before each comparison: clearing may run further rules.
    for (const Choice other : others) {
        if (List(changed).text == List(other).text) Clear(other);
    }
    applyEnabled_ = true;
}

void OptionsModel::Clear(Choice choice) {
    ListChoice& list = MutableList(choice);
    // Clearing an empty choice is no change, so the rule does not run again and never spreads.
    if (list.text.empty()) return;
    list.text.clear();
    list.position.reset();
    Changed(choice);
}

}  // namespace vantrel
