// The manifest on Windows: written once, then read-only, hidden and system, and still found.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/startup/Manifest.h"
#include "platform/windows/WinManifestPlatform.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

constexpr DWORD kThreeAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

class WinManifestTest : public ::testing::Test {
  protected:
    // TempDir cannot delete a read-only file on Windows.
    void TearDown() override {
        SetFileAttributesW((folder_ / "Vantrel.exe.manifest").c_str(), FILE_ATTRIBUTE_NORMAL);
    }

    test::TempDir folder_;
    WinManifestPlatform platform_;
};

TEST_F(WinManifestTest, FirstStartWritesTheFileWithAllThreeAttributes) {
    ASSERT_EQ(WriteManifest(folder_.path(), "Vantrel", platform_), ManifestStatus::Written);
    const auto file = folder_ / "Vantrel.exe.manifest";
    const DWORD attributes = GetFileAttributesW(file.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(attributes & kThreeAttributes, kThreeAttributes);
    EXPECT_EQ(test::ReadFile(file), ManifestText(platform_.Architecture()));
}

TEST_F(WinManifestTest, HiddenSystemFileIsFoundAndLeftAlone) {
    ASSERT_EQ(WriteManifest(folder_.path(), "Vantrel", platform_), ManifestStatus::Written);
    EXPECT_EQ(WriteManifest(folder_.path(), "Vantrel", platform_), ManifestStatus::AlreadyPresent);
    EXPECT_EQ(test::ReadFile(folder_ / "Vantrel.exe.manifest"),
              ManifestText(platform_.Architecture()));
}

TEST_F(WinManifestTest, ManifestNamesTheArchitectureOfThisBuild) {
    ASSERT_EQ(WriteManifest(folder_.path(), "Vantrel", platform_), ManifestStatus::Written);
    const std::string text = test::ReadFile(folder_ / "Vantrel.exe.manifest");
#if defined(__x86_64__) || defined(_M_X64)
    const std::string wanted = R"(processorArchitecture="amd64")";
#elif defined(__aarch64__) || defined(_M_ARM64)
    const std::string wanted = R"(processorArchitecture="arm64")";
#else
    const std::string wanted = R"(processorArchitecture="X86")";
#endif
    const std::size_t first = text.find(wanted);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(text.find(wanted, first + 1), std::string::npos) << "program and common controls";
    if (wanted.find("X86") == std::string::npos) {
        EXPECT_EQ(text.find("X86"), std::string::npos);
    }
}

// What the system does with the file at the next start: a manifest that names another
// architecture than the program's gives "side-by-side configuration is incorrect".
TEST_F(WinManifestTest, TheSystemAcceptsTheWrittenManifestForThisProgram) {
    ASSERT_EQ(WriteManifest(folder_.path(), "Vantrel", platform_), ManifestStatus::Written);
    const auto file = folder_ / "Vantrel.exe.manifest";
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.lpSource = file.c_str();
    const HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    ReleaseActCtx(context);
}

TEST_F(WinManifestTest, MarkingKeepsOtherAttributesAndFailsForAMissingFile) {
    const auto file = folder_ / "Vantrel.exe.manifest";
    test::WriteFile(file, "x");
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(platform_.MarkHiddenAndSystem(file));
    EXPECT_EQ(GetFileAttributesW(file.c_str()), kThreeAttributes | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_FALSE(platform_.MarkHiddenAndSystem(folder_ / "missing.exe.manifest"));
}

}  // namespace
}  // namespace vantrel
