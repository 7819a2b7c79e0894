#include "core/menu/TrayMenu.h"

#include <algorithm>

namespace vantrel {

namespace {

using enum MenuAction;

constexpr std::array<MenuEntry, kTrayMenuSize> kEntries{{
    {"options", "&Opzioni...", OpenOptions, TextId::MenuOptions, MenuPicture::Options},
    {"pause", "&Metti in pausa il joystick", TogglePause, TextId::MenuPause, MenuPicture::None,
     true},
    {"separator1", "-"},
    {"language", "&Lingua", ChooseLanguage, TextId::MenuLanguage},
    {"moreLanguages", "Aggiungi lingua...", GetMoreLanguages, TextId::MenuMoreLanguages},
    {"separator2", "-"},
    {"donation", "Fai una &donazione...", OpenDonationPage, TextId::MenuDonation,
     MenuPicture::Donation},
    {"separator3", "-"},
    {"updates", "&Controlla aggiornamenti...", OpenUpdatesPage, TextId::MenuCheckForUpdates,
     MenuPicture::Updates},
    {"separator4", "-"},
    {"license", "Licenza...", OpenLicense, TextId::MenuLicense, MenuPicture::License},
    {"versionHistory", "&Versioni del programma...", OpenVersionHistory,
     TextId::MenuVersionHistory},
    {"about", "&Informazioni...", OpenAbout, TextId::MenuAbout, MenuPicture::Information},
    {"separator5", "-"},
    {"exit", "&Esci", Exit, TextId::MenuExit, MenuPicture::Exit},
}};

bool IsLanguageEntry(const MenuEntry& entry) {
    return entry.action == ChooseLanguage || entry.action == GetMoreLanguages;
}

}  // namespace

const std::array<MenuEntry, kTrayMenuSize>& TrayMenuEntries() {
    return kEntries;
}

std::optional<std::size_t> TrayMenuPosition(std::string_view name) {
    const auto it = std::find_if(kEntries.begin(), kEntries.end(),
                                 [name](const MenuEntry& e) { return e.name == name; });
    if (it == kEntries.end()) return std::nullopt;
    return static_cast<std::size_t>(it - kEntries.begin());
}

std::optional<std::size_t> TrayMenuPosition(MenuAction action) {
    if (action == None) return std::nullopt;
    const auto it = std::find_if(kEntries.begin(), kEntries.end(),
                                 [action](const MenuEntry& e) { return e.action == action; });
    if (it == kEntries.end()) return std::nullopt;
    return static_cast<std::size_t>(it - kEntries.begin());
}

MenuCaptions BuiltInMenuCaptions() {
    MenuCaptions captions;
    for (std::size_t i = 0; i < kTrayMenuSize; ++i) {
        captions[i] = std::string(kEntries[i].builtInCaption);
    }
    return captions;
}

void ApplyMenuTexts(const LangText& texts,
                    const std::function<void(std::size_t, const std::string&)>& setCaption) {
    const auto apply = [&](bool languageEntries) {
        for (std::size_t i = 0; i < kTrayMenuSize; ++i) {
            const MenuEntry& entry = kEntries[i];
            if (entry.IsSeparator() || entry.action == Exit) continue;
            if (IsLanguageEntry(entry) == languageEntries) setCaption(i, texts[entry.text]);
        }
    };
    apply(false);
    apply(true);
    setCaption(*TrayMenuPosition(Exit), texts[TextId::MenuExit]);
}

void ApplyMenuTexts(const LangText& texts, MenuCaptions& captions) {
    ApplyMenuTexts(texts, [&captions](std::size_t position, const std::string& text) {
        captions[position] = text;
    });
}

}  // namespace vantrel
