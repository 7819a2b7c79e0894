#include "core/language/LanguageChoice.h"

#include <array>
#include <utility>

#include "core/text/LanguageFile.h"
#include "core/text/Utf8.h"

namespace vantrel {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Tried in order; the first equal key wins.
constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kKeyTable = {{
    {"br", "Brazilian"},
    {"fr", "French"},
    {"pt", "Brazilian"},
    {"it", "Italiano"},
    {"tr", "Turkish"},
}};

}  // namespace

std::string LocaleKey(std::string_view territoryIsoCode, std::string_view englishCountryName) {
    if (territoryIsoCode.size() == 2 && IsAsciiLetter(territoryIsoCode[0]) &&
        IsAsciiLetter(territoryIsoCode[1]))
        return AsciiLower(territoryIsoCode);
    return AsciiLower(Utf8Prefix(englishCountryName, 2));
}

std::string LanguageFileForKey(std::string_view key) {
    std::string_view base = "English";
    for (const auto& [k, name] : kKeyTable) {
        if (k == key) {
            base = name;
            break;
        }
    }
    return std::string(base) + ".lng";
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

void ChooseLanguageFromLocale(Settings& settings, LocalePort& locale) {
    if (!IsBlank(settings.LanguageFile)) return;
    settings.LanguageFile =
        LanguageFileForKey(LocaleKey(locale.TerritoryIsoCode(), locale.EnglishCountryName()));
}

bool LoadTextsOrLocaleLanguage(const std::vector<std::filesystem::path>& languageRoots,
                               const std::string& languageFile, LocalePort& locale,
                               LangText& texts) {
    if (LoadTextsFromRoots(languageRoots, languageFile, texts)) return true;
    const std::string localeFile =
        LanguageFileForKey(LocaleKey(locale.TerritoryIsoCode(), locale.EnglishCountryName()));
    if (LoadTextsFromRoots(languageRoots, localeFile, texts)) return true;
    const std::string english = LanguageFileForKey("");  // the file of every other region
    return localeFile != english && LoadTextsFromRoots(languageRoots, english, texts);
}

}  // namespace vantrel
