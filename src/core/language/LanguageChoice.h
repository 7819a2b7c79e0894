// Choosing the language file from the user's region when none is stored.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/language/LocalePort.h"
#include "core/settings/Settings.h"
#include "core/text/LangText.h"

namespace vantrel {

// The two-letter region code in lower case; when that is not a two-letter code, the first two
// characters of the English country name in lower case; empty when neither is known.
std::string LocaleKey(std::string_view territoryIsoCode, std::string_view englishCountryName);

// "Brazilian.lng", "French.lng", "Italiano.lng", "Turkish.lng" for the keys that have one,
// "English.lng" for every other key.
std::string LanguageFileForKey(std::string_view key);

// True when `text` holds nothing but blanks.
bool IsBlank(std::string_view text);

// Sets settings.LanguageFile from the locale when it is blank; a stored name is kept.
void ChooseLanguageFromLocale(Settings& settings, LocalePort& locale);

// Reads Lang/`languageFile` from the first of `languageRoots` that has it into `texts`; when that
// cannot be read (deleted, mistyped, refused), the file a first start would pick for the locale,
// then English.lng, so the menu and windows always have texts. The stored name is the caller's and
// stays as it is. False when none of them could be read.
bool LoadTextsOrLocaleLanguage(const std::vector<std::filesystem::path>& languageRoots,
                               const std::string& languageFile, LocalePort& locale,
                               LangText& texts);

}  // namespace vantrel
