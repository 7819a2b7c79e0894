// The tray menu's positions, captions, text-table entries and pictures.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/shell/PopupMenuModel.h"

namespace vantrel {
namespace {

struct Row {
    const char* name;
    const char* caption;
    bool separator;
    int textIndex;
    MenuPicture picture;
};

// The menu as the user sees it, top to bottom.
const Row kExpected[] = {
    {"mnuDef", "&Opzioni...", false, 7, MenuPicture::Img1},
    {"R0", "-", true, 0, MenuPicture::None},
    {"mnuLingua", "&Lingua", false, 26, MenuPicture::None},
    {"mnuAggLingua", "Aggiungi lingua...", false, 27, MenuPicture::None},
    {"R1", "-", true, 0, MenuPicture::None},
    {"mnuDonazione", "Fai una &donazione...", false, 8, MenuPicture::Img4},
    {"R4", "-", true, 0, MenuPicture::None},
    {"mnuAggiornamenti", "&Controlla aggiornamenti...", false, 9, MenuPicture::Img3},
    {"R3", "-", true, 0, MenuPicture::None},
    {"mnuLicenza", "Licenza...", false, 10, MenuPicture::Img5},
    {"mnuVersioni", "&Versioni del programma...", false, 11, MenuPicture::None},
    {"mnuAbout", "&Informazioni...", false, 12, MenuPicture::Img2},
    {"R2", "-", true, 0, MenuPicture::None},
    {"mnuExit", "&Esci", false, 13, MenuPicture::Img6},
};

TEST(PopupMenuModel, FourteenPositionsWithTheirBuiltInCaptions) {
    const auto& entries = PopupMenuEntries();
    ASSERT_EQ(entries.size(), std::size(kExpected));
    const MenuCaptions captions = BuiltInMenuCaptions();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].name, kExpected[i].name);
        EXPECT_EQ(entries[i].builtInCaption, kExpected[i].caption);
        EXPECT_EQ(captions[i], kExpected[i].caption);
        EXPECT_EQ(entries[i].separator, kExpected[i].separator);
        EXPECT_EQ(entries[i].textIndex, kExpected[i].textIndex);
        EXPECT_EQ(entries[i].picture, kExpected[i].picture);
        EXPECT_EQ(PopupMenuPosition(entries[i].name), i);
    }
    EXPECT_EQ(PopupMenuPosition("mnuNothing"), std::nullopt);
}

TEST(PopupMenuModel, MenuTextsReplaceTheNineCaptionsInOrder) {
    LangText texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = "text " + std::to_string(i);

    std::vector<std::pair<std::size_t, std::string>> calls;
    ApplyMenuTexts(texts, [&calls](std::size_t position, const std::string& text) {
        calls.emplace_back(position, text);
    });
    const std::vector<std::pair<std::size_t, std::string>> expected = {
        {0, "text 7"},   {5, "text 8"},  {7, "text 9"},  {9, "text 10"},  {10, "text 11"},
        {11, "text 12"}, {2, "text 26"}, {3, "text 27"}, {13, "text 13"},
    };
    EXPECT_EQ(calls, expected);

    MenuCaptions captions = BuiltInMenuCaptions();
    ApplyMenuTexts(texts, captions);
    for (std::size_t i = 0; i < kPopupMenuSize; ++i) {
        SCOPED_TRACE(i);
        const std::string want = kExpected[i].separator
                                     ? std::string("-")
                                     : "text " + std::to_string(kExpected[i].textIndex);
        EXPECT_EQ(captions[i], want);
    }
}

TEST(PopupMenuModel, EmptyTextTableEntriesAreTakenAsTheyAre) {
    // A language file may leave an entry empty on purpose; the caption follows it.
    LangText texts;
    texts[13] = "E&xit";
    MenuCaptions captions = BuiltInMenuCaptions();
    ApplyMenuTexts(texts, captions);
    EXPECT_EQ(captions[13], "E&xit");
    EXPECT_EQ(captions[0], "");
    EXPECT_EQ(captions[1], "-");
}

TEST(PopupMenuModel, SixPicturesAttachedInTheirOrder) {
    const auto& steps = MenuBitmapAssignments();
    const std::vector<std::pair<std::size_t, MenuPicture>> expected = {
        {0, MenuPicture::Img1}, {5, MenuPicture::Img4},  {7, MenuPicture::Img3},
        {9, MenuPicture::Img5}, {11, MenuPicture::Img2}, {13, MenuPicture::Img6},
    };
    std::vector<std::pair<std::size_t, MenuPicture>> actual;
    for (const auto& s : steps) actual.emplace_back(s.itemPosition, s.picture);
    EXPECT_EQ(actual, expected);

    // The steps and the entries agree, and no separator gets a picture.
    for (const auto& s : steps) {
        EXPECT_FALSE(PopupMenuEntries()[s.itemPosition].separator);
        EXPECT_EQ(PopupMenuEntries()[s.itemPosition].picture, s.picture);
    }
}

}  // namespace
}  // namespace vantrel
