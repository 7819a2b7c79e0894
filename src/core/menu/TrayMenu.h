// The tray menu as one table: its fifteen positions with their object names, built-in
// captions, the text-table entries that replace them, their pictures and what each one does.
// The tray icon, the menu and the tray application are all built from it.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/LangText.h"

namespace vantrel {

// The six menu pictures: options, information, updates (a software box with a disc), donation,
// licence (a text page), exit (a red arrow).
enum class MenuPicture { None, Options, Information, Updates, Donation, License, Exit };

// What choosing an entry does; None for separators.
enum class MenuAction {
    None,
    OpenOptions,
    TogglePause,  // a check entry: ticked while paused
    ChooseLanguage,
    GetMoreLanguages,
    OpenDonationPage,
    OpenUpdatesPage,
    OpenLicense,
    OpenVersionHistory,
    OpenAbout,
    Exit,
};

struct MenuEntry {
    std::string_view name;            // object name of the entry, e.g. "options", "separator1"
    std::string_view builtInCaption;  // shown until a language file is loaded; "-" on separators
    MenuAction action = MenuAction::None;
    TextId text{};  // the entry that replaces the caption; unused on separators
    MenuPicture picture = MenuPicture::None;
    bool checkable = false;  // shows a tick while what it turns on is on

    bool IsSeparator() const { return action == MenuAction::None; }
};

inline constexpr std::size_t kTrayMenuSize = 15;
inline constexpr std::string_view kTrayMenuName = "trayMenu";
inline constexpr std::string_view kTrayMenuTitle = "Vantrel";

// The entries by position, separators counted.
const std::array<MenuEntry, kTrayMenuSize>& TrayMenuEntries();

// Position of the entry with that object name.
std::optional<std::size_t> TrayMenuPosition(std::string_view name);

// Position of the entry with that action; none for MenuAction::None.
std::optional<std::size_t> TrayMenuPosition(MenuAction action);

using MenuCaptions = std::array<std::string, kTrayMenuSize>;

// Every position's built-in caption.
MenuCaptions BuiltInMenuCaptions();

// Calls `setCaption(position, text)` for the ten captioned entries: top to bottom, except that
// the two language entries come after the about entry, the order the captions were always set.
void ApplyMenuTexts(const LangText& texts,
                    const std::function<void(std::size_t, const std::string&)>& setCaption);

// The same on a plain caption table.
void ApplyMenuTexts(const LangText& texts, MenuCaptions& captions);

}  // namespace vantrel
