// The tray popup menu as data: its fourteen positions, built-in captions, the text-table entries
// that replace them, and which picture each entry shows.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/LangText.h"

namespace vantrel {

// The six menu pictures: Img1 options, Img2 information, Img3 updates (a software box with a
// disc), Img4 donation, Img5 licence (a text page), Img6 exit (a red arrow).
enum class MenuPicture { None, Img1, Img2, Img3, Img4, Img5, Img6 };

struct MenuEntry {
    std::string_view name;            // object name of the entry, e.g. "mnuDef", "R0"
    std::string_view builtInCaption;  // shown until a language file is loaded; "-" on separators
    bool separator = false;
    int textIndex = 0;  // LangText entry that replaces the caption; 0 for separators
    MenuPicture picture = MenuPicture::None;
};

inline constexpr std::size_t kPopupMenuSize = 14;
inline constexpr std::string_view kPopupMenuName = "PopUp";
inline constexpr std::string_view kPopupMenuTitle = "Vantrel";

// The entries by position, separators counted.
const std::array<MenuEntry, kPopupMenuSize>& PopupMenuEntries();

// Position of the entry with that object name.
std::optional<std::size_t> PopupMenuPosition(std::string_view name);

// One step of attaching the menu pictures.
struct MenuBitmapStep {
    std::size_t itemPosition;
    MenuPicture picture;
};

// The pictures in the order they are attached: 0 Img1, 5 Img4, 7 Img3, 9 Img5, 11 Img2, 13 Img6.
const std::array<MenuBitmapStep, 6>& MenuBitmapAssignments();

// Positions whose captions come from the text table, in the order they are set.
const std::array<std::size_t, 9>& MenuTextOrder();

using MenuCaptions = std::array<std::string, kPopupMenuSize>;

// Every position's built-in caption.
MenuCaptions BuiltInMenuCaptions();

// Calls `setCaption(position, text)` for the nine captioned entries, in MenuTextOrder().
void ApplyMenuTexts(const LangText& texts,
                    const std::function<void(std::size_t, const std::string&)>& setCaption);

// The same on a plain caption table.
void ApplyMenuTexts(const LangText& texts, MenuCaptions& captions);

}  // namespace vantrel
