#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "core/text/BuiltInTexts.h"
#include "core/text/LanguageFile.h"
#include "core/text/TextEncoding.h"

namespace vantrel {
namespace {

const std::filesystem::path kResources = std::filesystem::path(VANTREL_SOURCE_DIR) / "resources";

std::string Shipped(const std::string& name) {
    std::ifstream in(LanguageFilePath(kResources, name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ShippedLanguageFile : public ::testing::TestWithParam<const char*> {
  protected:
    std::string Bytes() const { return Shipped(GetParam()); }
};

TEST_P(ShippedLanguageFile, HasFiftyNumberedCrLfLinesOfUtf8) {
    const std::string bytes = Bytes();
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(IsValidUtf8(bytes));
    std::size_t pos = 0;
    for (int n = 1; n <= 50; ++n) {
        const std::size_t end = bytes.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos) << "line " << n;
        const std::string line = bytes.substr(pos, end - pos);
        char prefix[8];
        std::snprintf(prefix, sizeof prefix, "%02d=", n);
        EXPECT_EQ(line.substr(0, 3), prefix);
        EXPECT_EQ(line.find('\n'), std::string::npos) << "line " << n;
        pos = end + 2;
    }
    EXPECT_EQ(pos, bytes.size()) << "more than fifty lines";
}

// Each file's own lines, without the English that stands in for added lines it lacks.
LangText OwnLines(const std::string& bytes) {
    LangText texts;
    ApplyLanguageLines(DecodeText(bytes), texts);
    return texts;
}

TEST_P(ShippedLanguageFile, TranslatesEveryLineTheBuiltInEnglishHas) {
    const LangText texts = OwnLines(Bytes());
    for (int n = 1; n <= 45; ++n) EXPECT_FALSE(BuiltInTexts()[n].empty()) << "entry " << n;
    for (std::size_t n = 1; n <= kLanguageLines; ++n)
        EXPECT_EQ(texts[n].empty(), BuiltInTexts()[n].empty()) << "entry " << n;
    EXPECT_TRUE(texts[26].ends_with("...")) << texts[26];
    const std::size_t br = texts[32].find("<BR>");
    ASSERT_NE(br, std::string::npos);
    EXPECT_GT(br, 0u);
    EXPECT_LT(br + 4, texts[32].size());
}

// The access key of a caption: the letter after its one single "&".
std::string AccessKey(const std::string& caption) {
    std::string key;
    int markers = 0;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (i + 1 < caption.size() && caption[i + 1] == '&') {
            ++i;
            continue;
        }
        ++markers;
        if (i + 1 < caption.size())
            key = std::string(
                1, static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1]))));
    }
    return markers == 1 ? key : std::string();
}

TEST_P(ShippedLanguageFile, MenuAndDialogAccessKeysAreDistinct) {
    LangText texts;
    ASSERT_TRUE(LoadTexts(kResources, GetParam(), texts));
    for (const auto& group : {std::vector<int>{7, 8, 9, 10, 11, 12, 13, 26, 27, 46},
                              std::vector<int>{1, 2, 3, 17, 18, 19, 20, 21, 22, 23, 41, 42, 48}}) {
        std::set<std::string> keys;
        for (int n : group) {
            const std::string key = AccessKey(texts[n]);
            EXPECT_FALSE(key.empty()) << "entry " << n << ": " << texts[n];
            EXPECT_TRUE(keys.insert(key).second) << "entry " << n << " repeats key " << key;
        }
    }
}

TEST(BuiltInTexts, AreTheShippedEnglishFile) {
    EXPECT_EQ(BuiltInEnglishFile(), Shipped("English.lng"));
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguageFile,
                         ::testing::Values("English.lng", "Italiano.lng", "French.lng",
                                           "Brazilian.lng", "Turkish.lng"),
                         [](const auto& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace vantrel
