// The documents and web pages the tray menu and the about window open, and their handlers.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/info/OpenerPort.h"

namespace vantrel {

inline constexpr std::string_view kLicenseDocument = "License.txt";
inline constexpr std::string_view kItalianLicenseDocument = "Leggere prima dell'uso.txt";
inline constexpr std::string_view kVersionHistoryDocument = "Versioni.txt";

// The read-me in Italian goes with the Italian language file only (exact, case-sensitive match).
std::string_view LicenseDocumentName(std::string_view languageFile);

std::filesystem::path DocumentPath(const std::filesystem::path& programFolder,
                                   std::string_view name);

// The pages of the web site; the home page is the site's root.
enum class WebPage { Home, Product, Languages, Donation };

// The web site's base address, compiled in; ends with "/".
std::string_view WebBase();
std::string PageAddress(WebPage page, std::string_view webBase = WebBase());

// Opens a document when it exists. A missing one is skipped: handing it to the desktop would at
// best show an error dialog of some other program. False when skipped or refused.
bool OpenExistingDocument(OpenerPort& opener, const std::filesystem::path& file);

// The menu handlers. Failures are ignored: nothing is shown, the program goes on.
void OpenLicense(OpenerPort& opener, const std::filesystem::path& programFolder,
                 std::string_view languageFile);  // the licence entry
void OpenVersionHistory(OpenerPort& opener,
                        const std::filesystem::path& programFolder);  // the version-history entry
void OpenPage(OpenerPort& opener, WebPage page);

}  // namespace vantrel
