// Which document or page each menu entry opens, and that a missing document is left alone.
#include <gtest/gtest.h>

#include <fstream>

#include "core/info/Documents.h"
#include "core/info/UpdateCheck.h"
#include "support/TempDir.h"
#include "support/fakes/FakeOpener.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

class DocumentsTest : public ::testing::Test {
  protected:
    void Ship(std::string_view name) { std::ofstream(DocumentPath(folder, name)) << "text\n"; }

    test::TempDir dir;
    fs::path folder = dir.path();
    FakeOpener opener;
};

struct LicenseCase {
    const char* languageFile;
    const char* document;
};

class LicenseDocumentTest : public DocumentsTest,
                            public ::testing::WithParamInterface<LicenseCase> {};

TEST_P(LicenseDocumentTest, OpensTheDocumentForTheLanguage) {
    Ship("License.txt");
    Ship("Leggere prima dell'uso.txt");
    OpenLicense(opener, folder, GetParam().languageFile);
    ASSERT_EQ(opener.documents.size(), 1u);
    EXPECT_EQ(opener.documents[0], folder / fs::u8path(GetParam().document));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, LicenseDocumentTest,
    ::testing::Values(LicenseCase{"Italiano.lng", "Leggere prima dell'uso.txt"},
                      LicenseCase{"English.lng", "License.txt"}, LicenseCase{"", "License.txt"},
                      LicenseCase{"italiano.lng", "License.txt"},
                      LicenseCase{"Italiano.lng ", "License.txt"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// A folder in the document's place is not opened.
TEST_F(DocumentsTest, VersionHistory) {
    fs::create_directory(folder / "Versioni.txt");
    OpenVersionHistory(opener, folder);
    EXPECT_TRUE(opener.documents.empty());
    fs::remove(folder / "Versioni.txt");
    Ship("Versioni.txt");
    OpenVersionHistory(opener, folder);
    ASSERT_EQ(opener.documents.size(), 1u);
    EXPECT_EQ(opener.documents[0], folder / "Versioni.txt");
}

TEST_F(DocumentsTest, MissingDocumentChangesNothing) {
    Ship("License.txt");  // only the other language's document is there
    const auto before = test::Listing(folder);
    OpenLicense(opener, folder, "Italiano.lng");
    OpenVersionHistory(opener, folder);
    EXPECT_TRUE(opener.documents.empty());
    EXPECT_TRUE(opener.addresses.empty());
    EXPECT_EQ(test::Listing(folder), before);
}

TEST_F(DocumentsTest, RefusedOpeningIsIgnored) {
    Ship("License.txt");
    opener.succeeds = false;
    OpenLicense(opener, folder, "English.lng");
    OpenPage(opener, WebPage::Donation);
    EXPECT_EQ(opener.documents.size(), 1u);
    EXPECT_EQ(opener.addresses.size(), 1u);
}

// Pages lie directly below the base; each handler opens its page over https.
TEST(PageAddressTest, EachPageHandlerOpensItsPageBelowTheBaseOverHttps) {
    const struct {
        WebPage page;
        const char* file;
    } pages[] = {{WebPage::Home, ""},
                 {WebPage::Product, "vantrel.html"},
                 {WebPage::Languages, "vantrel-languages.html"},
                 {WebPage::Donation, "donazioni--donation.html"}};
    for (const auto& [page, file] : pages) {
        EXPECT_EQ(PageAddress(page, "http://h.example/"), std::string("http://h.example/") + file);
        FakeOpener opener;
        OpenPage(opener, page);
        ASSERT_EQ(opener.addresses.size(), 1u) << file;
        EXPECT_EQ(opener.addresses[0], std::string(VANTREL_WEB_BASE) + file);
        EXPECT_EQ(PageAddress(page), opener.addresses[0]);
        // Someone on the way could replace a page fetched in the clear, a release's among them.
        EXPECT_EQ(opener.addresses[0].rfind("https://", 0), 0u) << opener.addresses[0];
    }
    EXPECT_EQ(VersionFileAddress().rfind("https://", 0), 0u);
}

TEST(ShippedDocumentsTest, AllThreeAreBesideTheProgram) {
    for (const std::string_view name :
         {kLicenseDocument, kItalianLicenseDocument, kVersionHistoryDocument}) {
        EXPECT_TRUE(fs::is_regular_file(DocumentPath(VANTREL_PROGRAM_DIR, name))) << name;
    }
}

}  // namespace
}  // namespace vantrel
