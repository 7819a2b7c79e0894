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

// Characters, not bytes.
TEST(ShowFileDialog, InitialNameIsCutTo256Characters) {
    std::string accented;
    for (int i = 0; i < 300; ++i) accented += "\xC3\xA9";
    for (const auto& [name, given] : {std::pair{std::string(300, 'n'), std::string(256, 'n')},
                                      {accented, accented.substr(0, 512)},
                                      {std::string("short.lng"), std::string("short.lng")}}) {
        FakeFileDialog dialog;
        FileDialogRequest request;
        request.fileName = name;
        ShowFileDialog(dialog, request);
        EXPECT_EQ(dialog.request.fileName, given);
    }
}

}  // namespace
}  // namespace vantrel
