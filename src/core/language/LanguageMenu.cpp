#include "core/language/LanguageMenu.h"

#include <cstdint>
#include <system_error>
#include <vector>

#include "core/language/FileDialog.h"
#include "core/language/LanguageChoice.h"
#include "core/text/Utf8.h"

namespace vantrel {

std::string LanguageFilterDescription(const LangText& texts) {
    const std::string& entry = texts[TextId::MenuLanguage];
    const std::size_t chars = Utf8Length(entry);
    std::string description;
    if (chars >= 3) description = StripAccessKeys(Utf8Prefix(entry, chars - 3));
    // Without a description the dialog would list no usable file type (a first start has no
    // texts yet), so the built-in caption stands in.
    if (IsBlank(description)) description = StripAccessKeys(kLanguageMenuCaption);
    return description;
}

FileDialogRequest LanguageDialogRequest(const LangText& texts,
                                        const std::filesystem::path& dialogRoot,
                                        const std::vector<std::filesystem::path>& roots) {
    FileDialogRequest request;
    request.initialFolder = PathToUtf8(LanguageFolder(dialogRoot));
    for (const std::filesystem::path& root : roots)
        if (root != dialogRoot) request.places.push_back(PathToUtf8(LanguageFolder(root)));
    request.filters = {{LanguageFilterDescription(texts), "*.lng"}};
    request.defaultExtension = "lng";
    request.title = texts[TextId::Credit];
    request.open = true;
    return request;
}

std::optional<std::string> LanguageFileFromPath(std::string_view path, char separator) {
    const std::string marker = std::string(1, separator) + "Lang" + separator;
    const std::size_t at = path.rfind(marker);
    if (at == std::string_view::npos) return std::nullopt;
    return std::string(path.substr(at + marker.size()));
}

void ChooseLanguageFromMenu(const LanguageMenuContext& context) {
    // A typed name of a missing file would be stored and then fail to load at every start.
    std::uint32_t flags = kDialogFileMustExist;
    std::error_code ignored;  // without the folder the dialog opens elsewhere; that is all
    if (!context.dialogRoot.empty())
        std::filesystem::create_directories(LanguageFolder(context.dialogRoot), ignored);
    const std::vector<std::string> paths = ShowFileDialog(
        context.fileDialog,
        LanguageDialogRequest(context.texts, context.dialogRoot, context.languageRoots), &flags);
    if (!paths.empty()) {
        if (std::optional<std::string> name = LanguageFileFromPath(paths.front()))
            context.settings.LanguageFile = std::move(*name);
        // The name is looked up in the language folders whatever folder it was picked in; the
        // loader decides what stands in when it cannot be read, and the name stays.
        if (context.loadTexts)
            (void)context.loadTexts(context.languageRoots, context.settings.LanguageFile,
                                    context.texts);
    }
    // The rest runs after a cancel too, so the settings file is always written.
    if (context.unloadOptionsDialog) context.unloadOptionsDialog();
    if (context.applyMenuTexts) context.applyMenuTexts();
    if (context.saveSettings) context.saveSettings();
}

}  // namespace vantrel
