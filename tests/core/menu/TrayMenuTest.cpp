// The tray menu's positions, captions, text-table entries and pictures.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/menu/TrayMenu.h"

namespace vantrel {
namespace {

struct Row {
    const char* name;
    const char* caption;
    MenuAction action;
    int textIndex;
    MenuPicture picture;
};

// The menu as the user sees it, top to bottom.
const Row kExpected[] = {
    {"options", "&Opzioni...", MenuAction::OpenOptions, 7, MenuPicture::Options},
    {"pause", "&Metti in pausa il joystick", MenuAction::TogglePause, 46, MenuPicture::None},
    {"separator1", "-", MenuAction::None, 0, MenuPicture::None},
    {"language", "&Lingua", MenuAction::ChooseLanguage, 26, MenuPicture::None},
    {"moreLanguages", "Aggiungi lingua...", MenuAction::GetMoreLanguages, 27, MenuPicture::None},
    {"separator2", "-", MenuAction::None, 0, MenuPicture::None},
    {"donation", "Fai una &donazione...", MenuAction::OpenDonationPage, 8, MenuPicture::Donation},
    {"separator3", "-", MenuAction::None, 0, MenuPicture::None},
    {"updates", "&Controlla aggiornamenti...", MenuAction::OpenUpdatesPage, 9,
     MenuPicture::Updates},
    {"separator4", "-", MenuAction::None, 0, MenuPicture::None},
    {"license", "Licenza...", MenuAction::OpenLicense, 10, MenuPicture::License},
    {"versionHistory", "&Versioni del programma...", MenuAction::OpenVersionHistory, 11,
     MenuPicture::None},
    {"about", "&Informazioni...", MenuAction::OpenAbout, 12, MenuPicture::Information},
    {"separator5", "-", MenuAction::None, 0, MenuPicture::None},
    {"exit", "&Esci", MenuAction::Exit, 13, MenuPicture::Exit},
};

TEST(TrayMenu, FifteenPositionsWithTheirBuiltInCaptions) {
    const auto& entries = TrayMenuEntries();
    ASSERT_EQ(entries.size(), std::size(kExpected));
    const MenuCaptions captions = BuiltInMenuCaptions();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].name, kExpected[i].name);
        EXPECT_EQ(entries[i].builtInCaption, kExpected[i].caption);
        EXPECT_EQ(captions[i], kExpected[i].caption);
        EXPECT_EQ(entries[i].action, kExpected[i].action);
        if (!entries[i].IsSeparator()) {
            EXPECT_EQ(static_cast<int>(entries[i].text), kExpected[i].textIndex);
            EXPECT_EQ(TrayMenuPosition(entries[i].action), i);
        }
        EXPECT_EQ(entries[i].picture, kExpected[i].picture);
        EXPECT_EQ(entries[i].checkable, entries[i].action == MenuAction::TogglePause);
        EXPECT_EQ(TrayMenuPosition(entries[i].name), i);
    }
    EXPECT_EQ(TrayMenuPosition("nothing"), std::nullopt);
    EXPECT_EQ(TrayMenuPosition(MenuAction::None), std::nullopt);
}

TEST(TrayMenu, MenuTextsReplaceTheTenCaptionsInOrder) {
    LangText texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = "text " + std::to_string(i);

    std::vector<std::pair<std::size_t, std::string>> calls;
    ApplyMenuTexts(texts, [&calls](std::size_t position, const std::string& text) {
        calls.emplace_back(position, text);
    });
    const std::vector<std::pair<std::size_t, std::string>> expected = {
        {0, "text 7"},   {1, "text 46"},  {6, "text 8"},  {8, "text 9"},  {10, "text 10"},
        {11, "text 11"}, {12, "text 12"}, {3, "text 26"}, {4, "text 27"}, {14, "text 13"},
    };
    EXPECT_EQ(calls, expected);

    // A language file may leave an entry empty on purpose; the caption follows it.
    LangText onlyExit;
    onlyExit[13] = "E&xit";
    for (const LangText& table : {texts, onlyExit}) {
        MenuCaptions captions = BuiltInMenuCaptions();
        ApplyMenuTexts(table, captions);
        for (std::size_t i = 0; i < kTrayMenuSize; ++i) {
            SCOPED_TRACE(i);
            const bool separator = kExpected[i].action == MenuAction::None;
            EXPECT_EQ(captions[i], separator ? "-" : table[kExpected[i].textIndex]);
        }
    }
}

}  // namespace
}  // namespace vantrel
