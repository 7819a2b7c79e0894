#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/language/FileDialog.h"
#include "support/fakes/FakeFileDialog.h"

namespace vantrel {
namespace {

using namespace std::string_literals;
using Paths = std::vector<std::string>;

TEST(StripAtNul, CutsAtTheFirstNul) {
    EXPECT_EQ(StripAtNul("C:\\Lang\\a.lng"), "C:\\Lang\\a.lng");
    EXPECT_EQ(StripAtNul("C:\\a.lng\0\0old name"s), "C:\\a.lng");
    EXPECT_EQ(StripAtNul("\0rest"s), "");
    EXPECT_EQ(StripAtNul(""), "");
}

TEST(AddBackslash, AddsTheSeparatorOnlyWhenMissing) {
    EXPECT_EQ(AddBackslash("C:\\Lang"), "C:\\Lang\\");
    EXPECT_EQ(AddBackslash("C:\\"), "C:\\");
    EXPECT_EQ(AddBackslash(""), "\\");
    EXPECT_EQ(AddBackslash("/home/u", '/'), "/home/u/");
    EXPECT_EQ(AddBackslash("/", '/'), "/");
    EXPECT_EQ(AddBackslash("C:/x", '\\'), "C:/x\\");
}

struct SplitCase {
    std::string buffer;
    Paths expected;
};

class SplitMultiSelectionTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitMultiSelectionTest, FolderAndNamesBecomeFullPaths) {
    EXPECT_EQ(SplitMultiSelection(GetParam().buffer), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Buffers, SplitMultiSelectionTest,
    ::testing::Values(SplitCase{"C:\\P\\Lang\\a.lng\0\0\0\0"s, {"C:\\P\\Lang\\a.lng"}},
                      SplitCase{"C:\\P\\Lang\0a.lng\0b.lng\0\0\0"s,
                                {"C:\\P\\Lang\\a.lng", "C:\\P\\Lang\\b.lng"}},
                      SplitCase{"C:\\\0a.lng\0b.lng\0\0"s, {"C:\\a.lng", "C:\\b.lng"}},
                      // A longer initial name leaves bytes behind the closing double NUL.
                      SplitCase{"C:\\P\0a\0\0initial-name.lng\0\0"s, {"C:\\P\\a"}},
                      SplitCase{"C:\\P\0a\0b"s, {"C:\\P\\a", "C:\\P\\b"}}, SplitCase{"\0\0\0"s, {}},
                      SplitCase{""s, {}}));

TEST(ShowFileDialog, CancelGivesNothingAndLeavesTheFlags) {
    FakeFileDialog dialog;
    dialog.flagsLeft = 0x5678;
    std::uint32_t flags = 0x1234;
    EXPECT_TRUE(ShowFileDialog(dialog, {}, &flags).empty());
    EXPECT_EQ(dialog.flagsGiven, 0x1234u);
    EXPECT_EQ(flags, 0x1234u);
}

TEST(ShowFileDialog, SuccessGivesThePathsAndWritesTheFlagsBack) {
    FakeFileDialog dialog;
    dialog.answer = Paths{"/a/x.lng", "/a/y.lng"};
    dialog.flagsLeft = kDialogAllowMultiSelect | 0x400;
    std::uint32_t flags = kDialogAllowMultiSelect;
    EXPECT_EQ(ShowFileDialog(dialog, {}, &flags), (Paths{"/a/x.lng", "/a/y.lng"}));
    EXPECT_EQ(flags, kDialogAllowMultiSelect | 0x400);

    // Without a flags variable the dialog gets none.
    dialog.flagsGiven = 0xFFFF;
    EXPECT_EQ(ShowFileDialog(dialog, {}).size(), 2u);
    EXPECT_EQ(dialog.flagsGiven, 0u);
}

TEST(ShowFileDialog, InitialNameIsCutTo256Characters) {
    FakeFileDialog dialog;
    FileDialogRequest request;
    request.fileName = std::string(300, 'n');
    ShowFileDialog(dialog, request);
    EXPECT_EQ(dialog.request.fileName, std::string(256, 'n'));

    std::string accented;
    for (int i = 0; i < 300; ++i) accented += "\xC3\xA9";
    request.fileName = accented;
    ShowFileDialog(dialog, request);
    EXPECT_EQ(dialog.request.fileName, accented.substr(0, 512));

    request.fileName = "short.lng";
    ShowFileDialog(dialog, request);
    EXPECT_EQ(dialog.request.fileName, "short.lng");
}

}  // namespace
}  // namespace vantrel
