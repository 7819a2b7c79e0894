// Which document or page each menu entry opens, and that a missing document is left alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "core/info/Documents.h"
#include "core/info/UpdateCheck.h"
#include "support/fakes/FakeOpener.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

class DocumentsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vantrel-docs-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    void Ship(std::string_view name) { std::ofstream(DocumentPath(folder, name)) << "text\n"; }
    std::vector<fs::path> Listing() const {
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder;
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

TEST_F(DocumentsTest, VersionHistory) {
    Ship("Versioni.txt");
    OpenVersionHistory(opener, folder);
    ASSERT_EQ(opener.documents.size(), 1u);
    EXPECT_EQ(opener.documents[0], folder / "Versioni.txt");
}

TEST_F(DocumentsTest, MissingDocumentChangesNothing) {
    Ship("License.txt");  // only the other language's document is there
    const auto before = Listing();
    OpenLicense(opener, folder, "Italiano.lng");
    OpenVersionHistory(opener, folder);
    EXPECT_TRUE(opener.documents.empty());
    EXPECT_TRUE(opener.addresses.empty());
    EXPECT_EQ(Listing(), before);
}

TEST_F(DocumentsTest, FolderInPlaceOfDocumentIsNotOpened) {
    fs::create_directory(folder / "Versioni.txt");
    OpenVersionHistory(opener, folder);
    EXPECT_TRUE(opener.documents.empty());
}

TEST_F(DocumentsTest, RefusedOpeningIsIgnored) {
    Ship("License.txt");
    opener.succeeds = false;
    OpenLicense(opener, folder, "English.lng");
    OpenPage(opener, WebPage::Donation);
    EXPECT_EQ(opener.documents.size(), 1u);
    EXPECT_EQ(opener.addresses.size(), 1u);
}

TEST(PageAddressTest, PagesLieDirectlyBelowTheBase) {
    EXPECT_EQ(PageAddress(WebPage::Home, "http://h.example/"), "http://h.example/");
    EXPECT_EQ(PageAddress(WebPage::Product, "http://h.example/"), "http://h.example/vantrel.html");
    EXPECT_EQ(PageAddress(WebPage::Languages, "http://h.example/"),
              "http://h.example/vantrel-languages.html");
    EXPECT_EQ(PageAddress(WebPage::Donation, "http://h.example/"),
              "http://h.example/donazioni--donation.html");
    EXPECT_EQ(PageAddress(WebPage::Home), VANTREL_WEB_BASE);
}

TEST(PageAddressTest, EachPageHandlerOpensItsPageOverHttps) {
    const struct {
        WebPage page;
        const char* file;
    } pages[] = {{WebPage::Home, ""},
                 {WebPage::Product, "vantrel.html"},
                 {WebPage::Languages, "vantrel-languages.html"},
                 {WebPage::Donation, "donazioni--donation.html"}};
    for (const auto& [page, file] : pages) {
        FakeOpener opener;
        OpenPage(opener, page);
        ASSERT_EQ(opener.addresses.size(), 1u) << file;
        EXPECT_EQ(opener.addresses[0], std::string(VANTREL_WEB_BASE) + file);
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
