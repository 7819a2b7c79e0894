#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/language/FileDialog.h"
#include "support/fakes/FakeFileDialog.h"

namespace vantrel {
namespace {

using Paths = std::vector<std::string>;

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
