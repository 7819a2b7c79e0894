// The manifest file beside the executable: its bytes, its path, and that it is only ever created.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>

#include "core/startup/Manifest.h"
#include "support/TempDir.h"
#include "support/fakes/FakeManifestPlatform.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

std::string ExpectedBytes() {
    return test::ReadFile(fs::path(VANTREL_SOURCE_DIR) /
                          "tests/core/startup/data/expected.exe.manifest");
}

TEST(Manifest, TextMatchesTheReferenceCopyByteForByte) {
    const std::string expected = ExpectedBytes();
    ASSERT_EQ(expected.size(), 762u) << "reference copy damaged";
    EXPECT_EQ(ManifestText(), expected);
}

// The reference copy with both architecture values replaced; the count of replacements too.
std::pair<std::string, int> WithArchitecture(std::string text, const std::string& name) {
    const std::string from = R"(processorArchitecture="X86")";
    const std::string to = R"(processorArchitecture=")" + name + '"';
    int replaced = 0;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
        ++replaced;
    }
    return {text, replaced};
}

TEST(Manifest, OtherArchitecturesChangeOnlyTheTwoArchitectureValues) {
    const auto [amd64, amd64Count] = WithArchitecture(ExpectedBytes(), "amd64");
    const auto [arm64, arm64Count] = WithArchitecture(ExpectedBytes(), "arm64");
    EXPECT_EQ(amd64Count, 2);
    EXPECT_EQ(arm64Count, 2);
    EXPECT_EQ(ManifestText(ManifestArchitecture::Amd64), amd64);
    EXPECT_EQ(ManifestText(ManifestArchitecture::Arm64), arm64);
    EXPECT_EQ(ManifestText(ManifestArchitecture::X86), ExpectedBytes());
}

struct PathCase {
    const char* folder;
    const char* baseName;
    const char* expected;
};

class ManifestPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(ManifestPathTest, OneSeparatorBetweenFolderAndName) {
    EXPECT_EQ(ManifestPath(GetParam().folder, GetParam().baseName).string(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ManifestPathTest,
    ::testing::Values(PathCase{"/opt/vantrel", "Vantrel", "/opt/vantrel/Vantrel.exe.manifest"},
                      PathCase{"/opt/vantrel/", "Vantrel", "/opt/vantrel/Vantrel.exe.manifest"},
                      PathCase{"/", "vantrel", "/vantrel.exe.manifest"},
                      PathCase{"/home/u/My Tools", "my.tool",
                               "/home/u/My Tools/my.tool.exe.manifest"}));

bool HasWriteBits(const fs::path& file) {
    using fs::perms;
    const perms p = fs::status(file).permissions();
    return (p & (perms::owner_write | perms::group_write | perms::others_write)) != perms::none;
}

TEST(Manifest, FirstStartWritesTheFileForThePlatformsArchitectureReadOnly) {
    for (const auto architecture : {ManifestArchitecture::X86, ManifestArchitecture::Amd64}) {
        test::TempDir folder;
        FakeManifestPlatform platform;
        platform.architecture = architecture;
        EXPECT_EQ(WriteManifest(folder.path(), "Vantrel", platform), ManifestStatus::Written);

        const fs::path file = folder.path() / "Vantrel.exe.manifest";
        EXPECT_EQ(test::ReadFile(file), architecture == ManifestArchitecture::X86
                                            ? ExpectedBytes()
                                            : ManifestText(ManifestArchitecture::Amd64));
        EXPECT_FALSE(HasWriteBits(file));
        EXPECT_EQ(platform.marked, std::vector<fs::path>{file});
        EXPECT_EQ(platform.commonControlsInitialised, 1);
        EXPECT_EQ(test::Listing(folder.path()), "Vantrel.exe.manifest;") << "no leftovers";
    }
}

TEST(Manifest, AnExistingFileOrLinkIsNeitherReadNorTouched) {
    test::TempDir folder;
    const fs::path file = folder.path() / "Vantrel.exe.manifest";
    test::WriteFile(file, "damaged");
    const auto stamp = fs::last_write_time(file) - std::chrono::hours(1);
    fs::last_write_time(file, stamp);
    fs::permissions(file, fs::perms::none);  // not even readable

    FakeManifestPlatform platform;
    EXPECT_EQ(WriteManifest(folder.path(), "Vantrel", platform), ManifestStatus::AlreadyPresent);
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::none);
    EXPECT_EQ(fs::last_write_time(file), stamp);
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(test::ReadFile(file), "damaged");
    EXPECT_TRUE(platform.marked.empty());
    EXPECT_EQ(platform.commonControlsInitialised, 1) << "common controls set up in every case";

    // A dangling link counts as present too, and is not written through.
    test::TempDir linked;
    fs::create_symlink(linked / "elsewhere", linked / "Vantrel.exe.manifest");
    EXPECT_EQ(WriteManifest(linked.path(), "Vantrel", platform), ManifestStatus::AlreadyPresent);
    EXPECT_FALSE(fs::exists(linked / "elsewhere"));
}

// A second start leaves its own manifest alone; a renamed executable gets its own.
TEST(Manifest, EachExecutableNameGetsItsManifestOnce) {
    test::TempDir folder;
    FakeManifestPlatform platform;
    ASSERT_EQ(WriteManifest(folder.path(), "Vantrel", platform), ManifestStatus::Written);
    EXPECT_EQ(WriteManifest(folder.path(), "Vantrel", platform), ManifestStatus::AlreadyPresent);
    EXPECT_EQ(platform.marked.size(), 1u);
    EXPECT_EQ(platform.commonControlsInitialised, 2);
    EXPECT_EQ(WriteManifest(folder.path(), "Joymouse", platform), ManifestStatus::Written);
    EXPECT_EQ(test::Listing(folder.path()), "Joymouse.exe.manifest;Vantrel.exe.manifest;");
}

TEST(Manifest, AFolderThatCannotTakeTheFileIsReportedAndStartUpGoesOn) {
    test::TempDir folder;
    FakeManifestPlatform platform;
    const fs::path missing = folder.path() / "no such folder";
    EXPECT_EQ(WriteManifest(missing, "Vantrel", platform), ManifestStatus::WriteFailed);
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_TRUE(platform.marked.empty());
    EXPECT_EQ(platform.commonControlsInitialised, 1);
}

}  // namespace
}  // namespace vantrel
