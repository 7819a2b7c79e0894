#include "core/options/OptionsModel.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/text/CaptionText.h"

namespace vantrel {
namespace {

LangText SampleTexts() {
    LangText texts;
    for (std::size_t i = 1; i < texts.size(); ++i) texts[i] = "E" + std::to_string(i);
    texts[15] = "Credits";
    texts[16] = "Button";
    texts[29] = "Options";
    texts[31].clear();
    return texts;
}

std::vector<std::string> Buttons(int count, const std::string& word = "Button") {
    std::vector<std::string> items;
    for (int n = 1; n <= count; ++n) items.push_back(word + " " + std::to_string(n));
    return items;
}

// The captions, each from its entry of `l`, with the title naming the pad "Pad".
OptionsTexts TextsFrom(const LangText& l, const std::string& controllerLink) {
    OptionsTexts t;
    t.title = l[29] + " - Pad";
    t.leftButton = l[17], t.rightButton = l[18], t.middleButton = l[19], t.speed = l[20];
    t.credit = "Dorvane && Kestani - " + l[15];
    t.joystick = l[21], t.mouseSettingsLink = l[30], t.controllerSettingsLink = controllerLink;
    t.startAtLogon = l[23], t.acceleration = l[22], t.joystickPicture = l[35];
    t.ok = l[1], t.cancel = l[2], t.apply = l[3];
    t.scrollStick = l[41], t.scrollSpeed = l[42], t.scrollSlow = l[43], t.scrollFast = l[44];
    t.noScrollStick = l[45], t.pauseChord = l[48];
    return t;
}

class OptionsModelTest : public ::testing::Test {
  protected:
    OptionsServices Services() {
        return OptionsServices{
            [this](JoystickInfo& caps) {
                ++capsReads;
                if (!padPresent) return;
                caps.name = padName;
                caps.buttonCount = padButtons;
                caps.backStartButtons = backStart;
            },
            [this] { return joystickCount; },
            [this] { return inUse.value_or(settings.JoystickId); },
            [this] { calls.push_back("choose " + std::to_string(settings.JoystickId)); },
            [this] {
                calls.push_back("sync");
                atSync = settings;
                return syncSucceeds;
            },
            [this] {
                calls.push_back("save");
                atSave = settings;
                return saveSucceeds;
            }};
    }

    void LoadWith(std::int16_t left, std::int16_t right, std::int16_t middle) {
        settings.LeftButton = left;
        settings.RightButton = right;
        settings.MiddleButton = middle;
        model.Open();
    }
    std::string Text(Choice c) const { return model.List(c).text; }
    // What the three button lists show, left, right, middle.
    std::array<std::string, 3> Shown() const {
        return {Text(Choice::Left), Text(Choice::Right), Text(Choice::Middle)};
    }
    // The three button settings, left, right, middle.
    std::array<std::int16_t, 3> ButtonSettings() const {
        return {settings.LeftButton, settings.RightButton, settings.MiddleButton};
    }
    std::optional<int> Position(Choice c) const { return model.List(c).position; }

    Settings settings = [] {
        Settings s = DefaultSettings();
        s.LanguageFile = "English.lng";
        return s;
    }();
    LangText lang = SampleTexts();
    bool padPresent = true;
    std::string padName = "Pad";
    std::uint32_t padButtons = 4;
    std::array<std::int16_t, 2> backStart{};
    int joystickCount = 2;
    std::optional<int> inUse;  // where the pad in use is now; none: at JoystickId
    bool syncSucceeds = true;
    bool saveSucceeds = true;

    int capsReads = 0;
    std::vector<std::string> calls;
    Settings atSync;
    Settings atSave;
    OptionsModel model{settings, lang, Services()};
};

TEST_F(OptionsModelTest, LoadMirrorsSettingsAndLanguageAndLeavesApplyDisabled) {
    settings.JoystickId = 1;
    settings.PointerSpeed = "1.5";
    settings.Acceleration = 0;
    settings.ScrollStick = 0;
    settings.ScrollSpeed = 5;
    EXPECT_TRUE(model.Open());

    EXPECT_EQ(model.State(), OptionsState::Shown);
    for (const int n : {1, 2, 3})
        EXPECT_EQ(model.List(std::array{Choice::Left, Choice::Right, Choice::Middle}[n - 1]),
                  (ListChoice{Buttons(4), "Button " + std::to_string(n), n - 1}));
    EXPECT_EQ(model.List(Choice::Speed).items,
              (std::vector<std::string>{"0.5", "1", "1.5", "2", "2.5", "3"}));
    EXPECT_EQ(Text(Choice::Speed), "1.5");
    EXPECT_EQ(model.List(Choice::Joystick), (ListChoice{{"1", "2"}, "2", 1}));
    EXPECT_FALSE(model.Checked(Check::Acceleration));
    EXPECT_TRUE(model.Checked(Check::StartAtLogon));
    EXPECT_FALSE(model.Checked(Check::ScrollStick));
    EXPECT_EQ(model.ScrollSpeed(), 5);
    EXPECT_FALSE(model.ApplyEnabled());

    EXPECT_EQ(capsReads, 1);
    EXPECT_TRUE(calls.empty());
}

// Each caption takes its entry, empty ones too; the built-in link caption stands in only for an
// entry 31 the language lacks.
TEST_F(OptionsModelTest, CaptionsTakeTheirEntriesAndTheTitleNamesThePad) {
    const std::string builtIn = "Proprietà del Joystick...";
    LangText with31 = lang;
    with31[31] = "Joystick properties...";
    for (const auto& [table, link] :
         {std::pair{lang, builtIn}, {with31, "Joystick properties..."}, {LangText{}, builtIn}}) {
        model.Unload();
        lang = table;
        model.Open();
        EXPECT_EQ(model.Texts(), TextsFrom(lang, link)) << lang[29];
        EXPECT_EQ(model.List(Choice::Left).items, Buttons(4, lang[16]));
    }
}

// Buttons from the settings: a button two lists share shows in the later one only; 0 (none),
// a button past the four-button pad or past either end shows nothing and applies 0. Loading
// enables no Apply.
TEST_F(OptionsModelTest, ButtonsAtLoadAreShownOnceAndOnlyWhenInTheList) {
    using Buttons3 = std::array<std::int16_t, 3>;
    for (const auto& [loaded, applied] : {std::pair{Buttons3{1, 1, 3}, Buttons3{0, 1, 3}},
                                          {{2, 2, 2}, {0, 0, 2}},
                                          {{0, 2, 3}, {0, 2, 3}},
                                          {{5, 2, 3}, {0, 2, 3}},
                                          {{-1, 2, 3}, {0, 2, 3}},
                                          {{-32768, 2, 3}, {0, 2, 3}},
                                          {{32767, 2, 3}, {0, 2, 3}}}) {
        model.Unload();
        LoadWith(loaded[0], loaded[1], loaded[2]);
        for (std::size_t i = 0; i < 3; ++i) {
            const int n = applied[i];
            const Choice c = std::array{Choice::Left, Choice::Right, Choice::Middle}[i];
            EXPECT_EQ(model.List(c), (ListChoice{Buttons(4), n ? "Button " + std::to_string(n) : "",
                                                 n ? std::optional(n - 1) : std::nullopt}))
                << loaded[0] << " " << i;
        }
        EXPECT_FALSE(model.ApplyEnabled());
        model.Apply();
        EXPECT_EQ(ButtonSettings(), applied);
    }
}

// A failed capability read and a pad without buttons both give empty lists, the title naming
// what answered.
TEST_F(OptionsModelTest, NoButtonsGiveEmptyListsAndTheNameInTheTitle) {
    for (const bool present : {false, true}) {
        padPresent = present;
        padButtons = 0;
        model.Unload();
        model.Open();
        for (const Choice c : {Choice::Left, Choice::Right, Choice::Middle})
            EXPECT_EQ(model.List(c), ListChoice{}) << static_cast<int>(c);
        EXPECT_EQ(model.Texts().title, present ? "Options - Pad" : "Options - ");
        EXPECT_EQ(model.Caps().buttonCount, 0u);
        model.Apply();
        EXPECT_EQ(ButtonSettings(), (std::array<std::int16_t, 3>{0, 0, 0}));
    }
}

TEST_F(OptionsModelTest, AbsurdButtonCountStillFitsSixteenBitSettings) {
    padButtons = 0xFFFFFFFFu;
    model.Open();
    const auto& items = model.List(Choice::Left).items;
    ASSERT_FALSE(items.empty());
    model.Pick(Choice::Left, static_cast<int>(items.size()) - 1);
    model.Apply();
    EXPECT_GT(settings.LeftButton, 0);
}

struct JoystickIdCase {
    std::int16_t id;
    std::optional<int> position;
    std::int16_t applied;
    int count = 2;  // joysticks counted at start-up: the list's items
};

class JoystickIdTest : public OptionsModelTest,
                       public ::testing::WithParamInterface<JoystickIdCase> {};

TEST_P(JoystickIdTest, PositionAndAppliedValue) {
    settings.JoystickId = GetParam().id;
    joystickCount = GetParam().count;
    model.Open();
    std::vector<std::string> items;
    for (int n = 1; n <= GetParam().count; ++n) items.push_back(std::to_string(n));
    EXPECT_EQ(model.List(Choice::Joystick).items, items);
    EXPECT_EQ(Position(Choice::Joystick), GetParam().position);
    EXPECT_EQ(Text(Choice::Joystick), GetParam().position ? std::to_string(GetParam().id + 1) : "");
    model.Apply();
    EXPECT_EQ(settings.JoystickId, GetParam().applied);
}

INSTANTIATE_TEST_SUITE_P(
    Ids, JoystickIdTest,
    ::testing::Values(JoystickIdCase{0, 0, 0}, JoystickIdCase{1, 1, 1},
                      JoystickIdCase{-1, std::nullopt, -1}, JoystickIdCase{2, std::nullopt, -1},
                      JoystickIdCase{7, std::nullopt, -1}, JoystickIdCase{-5, std::nullopt, -1},
                      JoystickIdCase{2, 2, 2, 3}, JoystickIdCase{0, std::nullopt, -1, 0}));

TEST_F(OptionsModelTest, TypedSpeedIsStoredExactlyAsTyped) {
    model.Open();
    for (const std::string typed : {"1.7", " 1,5 ", "fast", ""}) {
        model.Type(Choice::Speed, typed);
        EXPECT_TRUE(model.ApplyEnabled());
        model.Apply();
        EXPECT_EQ(settings.PointerSpeed, typed);
        EXPECT_EQ(atSave.PointerSpeed, typed);
    }
}

// Typed text has no position: a typed button stores 0 (and still clears an equal choice), a
// typed joystick -1, and typing in one list leaves another's pick alone.
TEST_F(OptionsModelTest, TypedButtonTextStoresZeroAndStillClearsAnEqualChoice) {
    model.Open();
    model.Pick(Choice::Speed, 4);
    EXPECT_EQ(model.List(Choice::Speed).text, "2.5");
    model.Type(Choice::Joystick, "2");
    model.Type(Choice::Left, "Button 2");  // the exact text of an item, but typed
    EXPECT_EQ(model.List(Choice::Left), (ListChoice{Buttons(4), "Button 2", std::nullopt}));
    EXPECT_EQ(Text(Choice::Right), "");
    EXPECT_TRUE(model.ApplyEnabled());

    model.Apply();
    EXPECT_EQ(ButtonSettings(), (std::array<std::int16_t, 3>{0, 0, 3}));
    EXPECT_EQ(settings.PointerSpeed, "2.5");
    EXPECT_EQ(settings.JoystickId, -1);
}

struct PickCase {
    const char* name;
    std::vector<std::pair<Choice, int>> picks;  // in order
    std::array<std::string, 3> shown;           // left, right, middle
    std::array<std::int16_t, 3> loaded{1, 2, 3};
};

class UniquenessTest : public OptionsModelTest, public ::testing::WithParamInterface<PickCase> {};

TEST_P(UniquenessTest, PickingClearsTheChoiceShowingTheSameItem) {
    const PickCase& c = GetParam();
    LoadWith(c.loaded[0], c.loaded[1], c.loaded[2]);
    for (const auto& [choice, index] : c.picks) model.Pick(choice, index);
    EXPECT_EQ(Shown(), c.shown);
    EXPECT_TRUE(model.ApplyEnabled());
    // Whatever is cleared has no position left either.
    for (const Choice ch : {Choice::Left, Choice::Right, Choice::Middle}) {
        EXPECT_EQ(model.List(ch).text.empty(), !model.List(ch).position.has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Orders, UniquenessTest,
    ::testing::Values(
        PickCase{"RightTakesLeftItem", {{Choice::Right, 0}}, {"", "Button 1", "Button 3"}},
        PickCase{"ThenMiddleTakesRightItem",
                 {{Choice::Right, 0}, {Choice::Middle, 0}},
                 {"", "", "Button 1"}},
        PickCase{"LeftTakesMiddleItem", {{Choice::Left, 2}}, {"Button 3", "Button 2", ""}},
        PickCase{"LeftTakesRightItem", {{Choice::Left, 1}}, {"Button 2", "", "Button 3"}},
        PickCase{"MiddleTakesLeftItem", {{Choice::Middle, 0}}, {"", "Button 2", "Button 1"}},
        PickCase{
            "FreeItemClearsNothing", {{Choice::Middle, 3}}, {"Button 1", "Button 2", "Button 4"}},
        PickCase{"SameItemAgainKeepsIt", {{Choice::Left, 0}}, {"Button 1", "Button 2", "Button 3"}},
        // Two empty choices are equal; clearing one of them must not spread or loop.
        PickCase{"ClearingBesideEmptyDoesNotSpread",
                 {{Choice::Middle, 1}},
                 {"", "", "Button 2"},
                 {0, 2, 3}},
        PickCase{"AllButOneEmpty", {{Choice::Left, 2}}, {"Button 3", "", ""}, {0, 0, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

// Edits before the dialog is opened are ignored, and so are picks outside the lists.
TEST_F(OptionsModelTest, PickOutsideTheListChangesNothing) {
    model.Pick(Choice::Left, 0);
    model.Type(Choice::Speed, "3");
    model.SetChecked(Check::Acceleration, false);
    model.Apply();
    model.Ok();
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(model.State(), OptionsState::NotCreated);
    EXPECT_EQ(model.List(Choice::Speed), ListChoice{});

    model.Open();
    model.Pick(Choice::Left, 4);
    model.Pick(Choice::Joystick, -1);
    for (const int step : {kSlowestScroll - 1, kFastestScroll + 1, 3}) model.SetScrollSpeed(step);
    EXPECT_EQ(model.ScrollSpeed(), 3);
    EXPECT_EQ(Text(Choice::Left), "Button 1");
    EXPECT_EQ(Position(Choice::Joystick), 0);
    EXPECT_FALSE(model.ApplyEnabled());
}

TEST_F(OptionsModelTest, EveryListAndCheckEnablesApply) {
    const std::vector<std::function<void()>> edits = {
        [&] { model.Pick(Choice::Speed, 0); },
        [&] { model.Type(Choice::Speed, "3"); },
        [&] { model.Pick(Choice::Joystick, 1); },
        [&] { model.Type(Choice::Joystick, "x"); },
        [&] { model.Pick(Choice::Middle, 3); },
        [&] { model.Type(Choice::Right, "y"); },
        [&] { model.SetChecked(Check::Acceleration, false); },
        [&] { model.SetChecked(Check::StartAtLogon, false); },
        [&] { model.SetChecked(Check::ScrollStick, false); },
        [&] { model.SetScrollSpeed(kFastestScroll); },
        [&] { model.PickChord(ChordList::Second, 2); },
    };
    model.Open();
    for (std::size_t i = 0; i < edits.size(); ++i) {
        model.Apply();
        ASSERT_FALSE(model.ApplyEnabled());
        edits[i]();
        EXPECT_TRUE(model.ApplyEnabled()) << "edit " << i;
    }
}

// The values stay applied when the run entry or the file cannot be written.
TEST_F(OptionsModelTest, ApplyWritesEveryFieldThenSyncsThenSaves) {
    for (const bool succeeds : {true, false}) {
        SCOPED_TRACE(succeeds);
        syncSucceeds = saveSucceeds = succeeds;
        settings = DefaultSettings();
        settings.LanguageFile = "English.lng";
        calls.clear();
        model.Unload();
        model.Open();
        model.Pick(Choice::Left, 3);
        model.Pick(Choice::Speed, 0);
        model.SetChecked(Check::Acceleration, false);
        model.SetChecked(Check::StartAtLogon, false);
        model.Pick(Choice::Joystick, 1);
        model.SetChecked(Check::ScrollStick, false);
        model.SetScrollSpeed(kSlowestScroll);
        model.Apply();

        const Settings expected{4, 2, 3, "0.5", 0, 0, 1, "English.lng", 0, 1};
        EXPECT_EQ(settings, expected);
        // The joystick picked is taken into use before anything reads the settings.
        EXPECT_EQ(calls, (std::vector<std::string>{"choose 1", "sync", "save"}));
        EXPECT_EQ(atSync, expected);  // the run entry follows the new StartAtLogon
        EXPECT_EQ(atSave, expected);
        EXPECT_FALSE(model.ApplyEnabled());
        EXPECT_EQ(model.State(), OptionsState::Shown);
    }
}

// The chord lists show the settings' buttons or the pad's own Back and Start; a chord of one
// button is refused; Apply keeps the pad's own as such, and the settings untouched until a list
// is changed.
TEST_F(OptionsModelTest, ChordListsRefuseOneButtonAndKeepThePadsOwn) {
    struct Case {
        std::array<std::int16_t, 2> stored, backStart;
        std::vector<std::pair<ChordList, int>> picks;
        std::array<int, 2> shown;
        std::array<std::int16_t, 2> applied;
    };
    constexpr auto kFirst = ChordList::First, kSecond = ChordList::Second;
    constexpr std::int16_t kOwn = kPadsOwnButton;
    for (const Case& c : {
             Case{{kOwn, kOwn}, {2, 4}, {}, {2, 4}, {kOwn, kOwn}},
             Case{{kOwn, 9}, {2, 4}, {}, {2, 0}, {kOwn, 9}},  // 9: not on this pad
             Case{{1, 3}, {2, 4}, {{kSecond, 1}, {kFirst, 3}, {kFirst, 5}}, {1, 3}, {1, 3}},
             Case{{1, 3}, {2, 4}, {{kSecond, 4}, {kFirst, 2}}, {2, 4}, {kOwn, kOwn}},
             Case{{kOwn, kOwn}, {}, {{kFirst, 1}, {kFirst, 0}}, {0, 0}, {kOwn, kOwn}},
             Case{{kOwn, kOwn}, {2, 4}, {{kFirst, 0}}, {0, 4}, {0, kOwn}},
         }) {
        model.Unload();
        settings.PauseFirst = c.stored[0];
        settings.PauseSecond = c.stored[1];
        backStart = c.backStart;
        model.Open();
        ASSERT_EQ(model.ChordItems().size(), 5u);  // "" and the pad's four
        for (const auto& [list, position] : c.picks) model.PickChord(list, position);
        model.Apply();
        EXPECT_EQ((std::array{model.ChordPosition(kFirst), model.ChordPosition(kSecond)}), c.shown);
        EXPECT_EQ((std::array{settings.PauseFirst, settings.PauseSecond}), c.applied);
    }
}

TEST_F(OptionsModelTest, OkWithoutChangesStillSyncsAndSaves) {
    model.Open();
    const Settings before = settings;
    model.Ok();
    EXPECT_EQ(calls, (std::vector<std::string>{"sync", "save"}));
    EXPECT_EQ(settings, before);
    EXPECT_EQ(model.State(), OptionsState::Hidden);
    EXPECT_FALSE(model.ApplyEnabled());
}

TEST_F(OptionsModelTest, CheckValuesOtherThanOneAreUnticked) {
    settings.Acceleration = 2;
    settings.StartAtLogon = -1;
    settings.ScrollStick = 2;
    settings.ScrollSpeed = 9;  // a record the file did not fill: the default speed
    model.Open();
    for (const Check c : {Check::Acceleration, Check::StartAtLogon, Check::ScrollStick})
        EXPECT_FALSE(model.Checked(c)) << static_cast<int>(c);
    model.Apply();
    EXPECT_EQ((std::array{settings.Acceleration, settings.StartAtLogon, settings.ScrollStick,
                          settings.ScrollSpeed}),
              (std::array<std::int16_t, 4>{0, 0, 0, 3}));
}

// Opened again, shown or hidden, the dialog keeps the edits and the texts it was made with. An
// empty speed becomes "2" in the settings, even when cancelled.
TEST_F(OptionsModelTest, CancelKeepsEditsAndReopeningShowsThem) {
    settings.PointerSpeed.clear();
    model.Open();
    EXPECT_EQ(Text(Choice::Speed), "2");
    EXPECT_EQ(settings.PointerSpeed, "2");
    model.Pick(Choice::Middle, 3);
    model.Type(Choice::Speed, "1.7");
    EXPECT_FALSE(model.Open());
    EXPECT_EQ(Text(Choice::Speed), "1.7");
    const Settings before = settings;
    lang[29] = "Optionen";

    model.Cancel();
    EXPECT_EQ(model.State(), OptionsState::Hidden);
    EXPECT_EQ(settings, before);
    EXPECT_TRUE(calls.empty());

    EXPECT_FALSE(model.Open());
    EXPECT_EQ(model.State(), OptionsState::Shown);
    EXPECT_EQ(Text(Choice::Middle), "Button 4");
    EXPECT_EQ(Text(Choice::Speed), "1.7");
    EXPECT_TRUE(model.ApplyEnabled());
    EXPECT_EQ(model.Texts().title, "Options - Pad");  // only the pads looked at again
}

// The close box unloads the dialog: the next opening loads the settings and the language anew.
TEST_F(OptionsModelTest, CloseBoxForgetsEditsAndTheNextOpeningLoadsSettings) {
    model.Open();
    model.Pick(Choice::Middle, 3);
    model.Unload();
    lang[29] = "Optionen";
    EXPECT_EQ(model.State(), OptionsState::NotCreated);
    EXPECT_EQ(model.Texts(), OptionsTexts{});
    EXPECT_EQ(model.List(Choice::Left), ListChoice{});

    EXPECT_TRUE(model.Open());
    EXPECT_EQ(Text(Choice::Middle), "Button 3");
    EXPECT_FALSE(model.ApplyEnabled());
    EXPECT_EQ(capsReads, 2);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(model.Texts().title, "Optionen - Pad");
}

// Opened again (shown or hidden), the dialog looks at the pads anew and keeps every edit: pads
// plugged in since are listed, the pick follows the pad in use unless the user picked, and the
// title and button lists follow the pad in use, losing a pick past its buttons.
TEST_F(OptionsModelTest, ReopeningShowsThePadsAsTheyAreNow) {
    const struct {
        const char* name;
        std::optional<int> picked, inUse;  // the user's pick before closing; the pad in use
        int count;
        std::uint32_t buttons;
        std::optional<int> position;
    } cases[] = {{"plugged_in", {}, {}, 3, 4, 0}, {"moved", {}, 1, 2, 4, 1},
                 {"away", {}, 1, 1, 4, {}},       {"picked_kept", 1, 0, 3, 4, 1},
                 {"picked_gone", 1, 0, 1, 4, {}}, {"fewer_buttons", {}, {}, 2, 2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OptionsModel fresh{settings, lang, Services()};
        joystickCount = 2, inUse.reset(), padButtons = 4;
        fresh.Open();
        if (c.picked) fresh.Pick(Choice::Joystick, *c.picked);
        fresh.Cancel();
        joystickCount = c.count, inUse = c.inUse, padButtons = c.buttons;
        padName = c.buttons == 4 ? "Pad" : "Other";
        EXPECT_FALSE(fresh.Open());
        EXPECT_EQ(fresh.List(Choice::Joystick).items.size(), static_cast<std::size_t>(c.count));
        EXPECT_EQ(fresh.List(Choice::Joystick).position, c.position);
        EXPECT_EQ(fresh.List(Choice::Left).items, Buttons(static_cast<int>(c.buttons)));
        EXPECT_EQ(fresh.List(Choice::Middle).text, c.buttons == 4 ? "Button 3" : "");
        EXPECT_EQ(fresh.Texts().title, "Options - " + padName);
        EXPECT_EQ(fresh.ApplyEnabled(), c.picked.has_value());
    }
}

// Apply after a pick in the joystick list takes that pad into use and shows its name and
// buttons; Apply without one leaves the pad in use alone, its capabilities not read again.
TEST_F(OptionsModelTest, ApplyAfterAJoystickPickShowsThePadPicked) {
    model.Open();
    padName = "DS4";
    padButtons = 13;
    model.Apply();
    EXPECT_EQ(calls, (std::vector<std::string>{"sync", "save"}));
    EXPECT_EQ(capsReads, 1);
    EXPECT_EQ(model.Texts().title, "Options - Pad");
    EXPECT_EQ(model.List(Choice::Left).items.size(), 4u);

    model.Pick(Choice::Joystick, 1);
    model.Apply();
    EXPECT_EQ(calls, (std::vector<std::string>{"sync", "save", "choose 1", "sync", "save"}));
    EXPECT_EQ(model.Texts().title, "Options - DS4");
    EXPECT_EQ(model.List(Choice::Middle), (ListChoice{Buttons(13), "Button 3", 2}));
    EXPECT_EQ(Position(Choice::Joystick), 1);
    EXPECT_FALSE(model.ApplyEnabled());
}

TEST(StripAccessKeys, MarkersGoDoubledAmpersandsStay) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"&Ok", "Ok"},
        {"A&pplica", "Applica"},
        {"Dorvane && Kestani - x", "Dorvane & Kestani - x"},
        {"Dorvane && Kestani - ", "Dorvane & Kestani - "},
        {"&&&x", "&x"},
        {"x&", "x"},
        {"&&&&", "&&"},
        {"", ""},
        {"plain", "plain"},
        {"Proprietà del mouse...", "Proprietà del mouse..."}};
    for (const auto& [caption, shown] : cases)
        EXPECT_EQ(StripAccessKeys(caption), shown) << caption;
}

}  // namespace
}  // namespace vantrel
