#include "core/shell/PopupMenuModel.h"

#include <algorithm>

namespace vantrel {

namespace {

constexpr std::array<MenuEntry, kPopupMenuSize> kEntries{{
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
}};

constexpr std::array<MenuBitmapStep, 6> kBitmapSteps{{
    {0, MenuPicture::Img1},
    {5, MenuPicture::Img4},
    {7, MenuPicture::Img3},
    {9, MenuPicture::Img5},
    {11, MenuPicture::Img2},
    {13, MenuPicture::Img6},
}};

// mnuDef, mnuDonazione, mnuAggiornamenti, mnuLicenza, mnuVersioni, mnuAbout, mnuLingua,
// mnuAggLingua, mnuExit.
constexpr std::array<std::size_t, 9> kTextOrder{0, 5, 7, 9, 10, 11, 2, 3, 13};

}  // namespace

const std::array<MenuEntry, kPopupMenuSize>& PopupMenuEntries() {
    return kEntries;
}

std::optional<std::size_t> PopupMenuPosition(std::string_view name) {
    const auto it = std::find_if(kEntries.begin(), kEntries.end(),
                                 [name](const MenuEntry& e) { return e.name == name; });
    if (it == kEntries.end()) return std::nullopt;
    return static_cast<std::size_t>(it - kEntries.begin());
}

const std::array<MenuBitmapStep, 6>& MenuBitmapAssignments() {
    return kBitmapSteps;
}

const std::array<std::size_t, 9>& MenuTextOrder() {
    return kTextOrder;
}

MenuCaptions BuiltInMenuCaptions() {
    MenuCaptions captions;
    for (std::size_t i = 0; i < kPopupMenuSize; ++i) {
        captions[i] = std::string(kEntries[i].builtInCaption);
    }
    return captions;
}

void ApplyMenuTexts(const LangText& texts,
                    const std::function<void(std::size_t, const std::string&)>& setCaption) {
    for (const std::size_t position : kTextOrder) {
        setCaption(position, texts[static_cast<std::size_t>(kEntries[position].textIndex)]);
    }
}

void ApplyMenuTexts(const LangText& texts, MenuCaptions& captions) {
    ApplyMenuTexts(texts, [&captions](std::size_t position, const std::string& text) {
        captions[position] = text;
    });
}

}  // namespace vantrel
