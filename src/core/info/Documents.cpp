#include "core/info/Documents.h"

#include <system_error>

namespace vantrel {

std::string_view LicenseDocumentName(std::string_view languageFile) {
    return languageFile == "Italiano.lng" ? kItalianLicenseDocument : kLicenseDocument;
}

std::filesystem::path DocumentPath(const std::filesystem::path& programFolder,
                                   std::string_view name) {
    // The names are UTF-8; u8path keeps the apostrophe and any accent intact on every platform.
    return programFolder / std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::string_view WebBase() {
    return VANTREL_WEB_BASE;
}

std::string PageAddress(WebPage page, std::string_view webBase) {
    std::string address(webBase);
    switch (page) {
        case WebPage::Home:
            break;
        case WebPage::Product:
            address += "vantrel.html";
            break;
        case WebPage::Languages:
            address += "vantrel-languages.html";
            break;
        case WebPage::Donation:
            address += "donazioni--donation.html";
            break;
    }
    return address;
}

bool OpenExistingDocument(OpenerPort& opener, const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return false;
    return opener.OpenDocument(file);
}

void OpenLicense(OpenerPort& opener, const std::filesystem::path& programFolder,
                 std::string_view languageFile) {
    const bool opened = OpenExistingDocument(
        opener, DocumentPath(programFolder, LicenseDocumentName(languageFile)));
    (void)opened;  // nothing to tell the user either way
}

void OpenVersionHistory(OpenerPort& opener, const std::filesystem::path& programFolder) {
    const bool opened =
        OpenExistingDocument(opener, DocumentPath(programFolder, kVersionHistoryDocument));
    (void)opened;
}

void OpenPage(OpenerPort& opener, WebPage page) {
    const bool opened = opener.OpenAddress(PageAddress(page));
    (void)opened;  // no browser or no network: nothing to tell the user
}

}  // namespace vantrel
