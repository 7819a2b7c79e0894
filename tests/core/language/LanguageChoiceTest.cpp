#include <gtest/gtest.h>

#include "core/language/LanguageChoice.h"
#include "support/fakes/FakeLocale.h"

namespace vantrel {
namespace {

struct RegionCase {
    const char* isoCode;
    const char* countryName;
    const char* key;
    const char* file;
};

class RegionTest : public ::testing::TestWithParam<RegionCase> {};

TEST_P(RegionTest, RegionGivesKeyAndFile) {
    const RegionCase& c = GetParam();
    EXPECT_EQ(LocaleKey(c.isoCode, c.countryName), c.key);
    Settings settings;
    FakeLocale locale(c.isoCode, c.countryName);
    ChooseLanguageFromLocale(settings, locale);
    EXPECT_EQ(settings.LanguageFile, c.file);
}

INSTANTIATE_TEST_SUITE_P(
    Regions, RegionTest,
    ::testing::Values(RegionCase{"IT", "Italy", "it", "Italiano.lng"},
                      RegionCase{"BR", "Brazil", "br", "Brazilian.lng"},
                      RegionCase{"FR", "France", "fr", "French.lng"},
                      RegionCase{"PT", "Portugal", "pt", "Brazilian.lng"},
                      RegionCase{"TR", "Turkey", "tr", "Turkish.lng"},
                      RegionCase{"tr", "", "tr", "Turkish.lng"},
                      // Names that begin like a key no longer pick its language.
                      RegionCase{"TT", "Trinidad and Tobago", "tt", "English.lng"},
                      RegionCase{"BN", "Brunei", "bn", "English.lng"},
                      RegionCase{"FI", "Finland", "fi", "English.lng"},
                      RegionCase{"DE", "Germany", "de", "English.lng"},
                      // No region code: the first two letters of the English name.
                      RegionCase{"", "Italy", "it", "Italiano.lng"},
                      RegionCase{"", "FRANCE", "fr", "French.lng"},
                      RegionCase{"001", "World", "wo", "English.lng"},
                      RegionCase{"", "\xC3\x85land Islands", "\xC3\x85l", "English.lng"},
                      RegionCase{"", "", "", "English.lng"}));

TEST(LanguageFileForKey, EveryRowAndTheRest) {
    EXPECT_EQ(LanguageFileForKey("br"), "Brazilian.lng");
    EXPECT_EQ(LanguageFileForKey("fr"), "French.lng");
    EXPECT_EQ(LanguageFileForKey("pt"), "Brazilian.lng");
    EXPECT_EQ(LanguageFileForKey("it"), "Italiano.lng");
    EXPECT_EQ(LanguageFileForKey("tr"), "Turkish.lng");
    EXPECT_EQ(LanguageFileForKey("IT"), "English.lng");
    EXPECT_EQ(LanguageFileForKey(""), "English.lng");
}

TEST(ChooseLanguageFromLocale, OnlyABlankNameIsReplaced) {
    FakeLocale italy("IT", "Italy");
    for (const char* blank : {"", "   ", " \t "}) {
        Settings settings;
        settings.LanguageFile = blank;
        ChooseLanguageFromLocale(settings, italy);
        EXPECT_EQ(settings.LanguageFile, "Italiano.lng") << '"' << blank << '"';
    }
    for (const char* stored : {"French.lng", " French.lng ", "missing.lng"}) {
        Settings settings;
        settings.LanguageFile = stored;
        ChooseLanguageFromLocale(settings, italy);
        EXPECT_EQ(settings.LanguageFile, stored);
    }
}

}  // namespace
}  // namespace vantrel
