// The tray menu's language entry: pick a language file, read it, refresh the menu, save.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/language/FileDialogPort.h"
#include "core/settings/Settings.h"
#include "core/text/CaptionText.h"
#include "core/text/LangText.h"
#include "core/text/LanguageFile.h"

namespace vantrel {

// The menu entry's caption before any language file is read.
inline constexpr std::string_view kLanguageMenuCaption = "&Lingua";

// The file-type description of the language dialog: entry 26 without its last three characters
// (the "..." of the menu caption) and without access-key markers; the built-in menu caption,
// likewise stripped, when that leaves nothing.
std::string LanguageFilterDescription(const LangText& texts);

// The language dialog: Open, on the Lang folder of `dialogRoot`, "*.lng" files, titled with entry
// 15; the Lang folders of the other `roots` are offered as places to go.
FileDialogRequest LanguageDialogRequest(const LangText& texts,
                                        const std::filesystem::path& dialogRoot,
                                        const std::vector<std::filesystem::path>& roots = {});

// What follows the last `separator` "Lang" `separator` in `path` (exact case), or nullopt when
// the path has no such folder.
std::optional<std::string> LanguageFileFromPath(
    std::string_view path,
    char separator = static_cast<char>(std::filesystem::path::preferred_separator));

// The main window's parts the language entry works with. Empty callbacks are skipped.
struct LanguageMenuContext {
    Settings& settings;
    LangText& texts;
    // Folders holding a Lang/ folder, in lookup order, and the one the dialog opens.
    std::vector<std::filesystem::path> languageRoots;
    std::filesystem::path dialogRoot;
    FileDialogPort& fileDialog;
    std::function<bool(const std::vector<std::filesystem::path>&, const std::string&, LangText&)>
        loadTexts = LoadTextsFromRoots;
    std::function<void()> unloadOptionsDialog;
    std::function<void()> applyMenuTexts;
    std::function<void()> saveSettings;
};

// Shows the language dialog (existing files only), making its Lang folder first when missing so
// the user has a place to put files. On a choice: takes the name below "Lang" into
// settings.LanguageFile and reads that file from the language folders. Then, after a cancel too:
// unloads the options dialog, applies the menu texts and saves the settings.
void ChooseLanguageFromMenu(const LanguageMenuContext& context);

}  // namespace vantrel
