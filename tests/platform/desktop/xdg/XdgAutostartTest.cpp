// The autostart entry file: where it goes, what it holds, and that removing it is always quiet.
#include <gtest/gtest.h>

#include <ostream>

#include <cstdlib>
#include <optional>
#include <string>

#include "core/startup/DesktopEntry.h"
#include "platform/desktop/xdg/XdgAutostart.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

using test::ScopedEnv;

struct EnvCase {
    const char* configHome;  // nullptr: unset
    const char* home;
    const char* expected;  // nullptr: no usable folder

    // Test names: the two variables as they were set.
    friend void PrintTo(const EnvCase& c, std::ostream* out) {
        *out << "XDG_CONFIG_HOME=" << (c.configHome ? c.configHome : "(unset)")
             << " HOME=" << (c.home ? c.home : "(unset)");
    }
};

class AutostartLocation : public ::testing::TestWithParam<EnvCase> {};

TEST_P(AutostartLocation, FollowsTheBaseDirectoryRules) {
    ScopedEnv config("XDG_CONFIG_HOME", GetParam().configHome);
    ScopedEnv home("HOME", GetParam().home);
    const auto path = XdgAutostart::DefaultEntryPath();
    if (GetParam().expected == nullptr) {
        EXPECT_FALSE(path.has_value());
    } else {
        ASSERT_TRUE(path.has_value());
        EXPECT_EQ(path->string(), GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Environments, AutostartLocation,
    ::testing::Values(EnvCase{"/cfg", "/home/u", "/cfg/autostart/Vantrel.desktop"},
                      EnvCase{nullptr, "/home/u", "/home/u/.config/autostart/Vantrel.desktop"},
                      EnvCase{"", "/home/u", "/home/u/.config/autostart/Vantrel.desktop"},
                      EnvCase{"relative/cfg", "/home/u",
                              "/home/u/.config/autostart/Vantrel.desktop"},
                      EnvCase{nullptr, nullptr, nullptr}, EnvCase{nullptr, "not/absolute", nullptr},
                      EnvCase{"/cfg", nullptr, "/cfg/autostart/Vantrel.desktop"}));

TEST(XdgAutostart, WritesTheEntryIntoTheConfigFolderOfTheMoment) {
    test::TempDir folder;
    const fs::path exe = "/opt/My \"Tools\"/$x/vantrel";
    {
        ScopedEnv config("XDG_CONFIG_HOME", folder.path().c_str());
        XdgAutostart autostart;
        EXPECT_TRUE(autostart.Write(exe));
    }
    const fs::path entry = folder.path() / "autostart" / "Vantrel.desktop";
    EXPECT_EQ(test::ReadFile(entry), AutostartDesktopEntry(exe));
    EXPECT_EQ(test::Listing(entry.parent_path()), "Vantrel.desktop;") << "no leftovers";
}

TEST(XdgAutostart, RewritingReplacesTheOldCommand) {
    test::TempDir folder;
    const fs::path entry = folder.path() / "a" / "b" / "Vantrel.desktop";
    XdgAutostart autostart(entry);
    ASSERT_TRUE(autostart.Write("/old/place/vantrel"));
    ASSERT_TRUE(autostart.Write("/new place/vantrel"));
    EXPECT_EQ(test::ReadFile(entry), AutostartDesktopEntry("/new place/vantrel"));
}

TEST(XdgAutostart, RemoveDeletesTheEntryAndIsQuietWhenThereIsNone) {
    test::TempDir folder;
    const fs::path entry = folder.path() / "Vantrel.desktop";
    XdgAutostart autostart(entry);
    ASSERT_TRUE(autostart.Write("/usr/bin/vantrel"));
    EXPECT_TRUE(autostart.Remove());
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_TRUE(autostart.Remove());
    EXPECT_TRUE(XdgAutostart(folder.path() / "missing" / "Vantrel.desktop").Remove());
}

TEST(XdgAutostart, AFolderThatCannotBeCreatedFailsWithoutLeavingAnything) {
    test::TempDir folder;
    test::WriteFile(folder.path() / "file", "x");
    XdgAutostart autostart(folder.path() / "file" / "autostart" / "Vantrel.desktop");
    EXPECT_FALSE(autostart.Write("/usr/bin/vantrel"));
    EXPECT_EQ(test::Listing(folder.path()), "file;");
}

TEST(XdgAutostart, NoHomeAtAllFailsQuietly) {
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", nullptr);
    XdgAutostart autostart;
    EXPECT_FALSE(autostart.Write("/usr/bin/vantrel"));
    EXPECT_FALSE(autostart.Remove());
}

}  // namespace
}  // namespace vantrel
