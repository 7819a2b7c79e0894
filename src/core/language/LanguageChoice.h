// Choosing the language file from the user's region when none is stored.
#pragma once

#include <string>
#include <string_view>

#include "core/language/LocalePort.h"
#include "core/settings/Settings.h"

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

}  // namespace vantrel
