#include "core/options/SettingsLinks.h"

#include <gtest/gtest.h>

#include <set>

#include "support/fakes/FakeProcessLauncher.h"

namespace vantrel {
namespace {

using Argv = std::vector<std::string>;

struct LinkCase {
    const char* name;
    SettingsLink link;
    std::string desktops;          // XDG_CURRENT_DESKTOP
    std::set<std::string> onPath;  // programs installed
    Argv expected;                 // empty: nothing to start
};

class DesktopLinkTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(DesktopLinkTest, FirstInstalledCandidateForTheDesktop) {
    const LinkCase& c = GetParam();
    std::vector<std::string> asked;
    const auto exists = [&](const std::string& program) {
        asked.push_back(program);
        return c.onPath.count(program) > 0;
    };
    EXPECT_EQ(DesktopLinkCommand(c.link, c.desktops, exists), c.expected);
    // Only program names are looked up, never whole command lines.
    for (const auto& program : asked) EXPECT_EQ(program.find(' '), std::string::npos);
}

constexpr auto kMouse = SettingsLink::Mouse;
constexpr auto kPad = SettingsLink::GameController;

// clang-format off
// A machine with every settings program, to see that the running desktop's own comes first.
const std::set<std::string> kEverything = {
    "gnome-control-center", "budgie-control-center", "cinnamon-settings", "systemsettings",
    "kcmshell5", "kcmshell6", "xfce4-mouse-settings", "mate-mouse-properties",
    "lxqt-config-input", "lxinput", "jstest-gtk"};

// A case a row: the link, XDG_CURRENT_DESKTOP, the programs installed, what starts.
INSTANTIATE_TEST_SUITE_P(
    Desktops, DesktopLinkTest,
    ::testing::Values(
        LinkCase{"Gnome", kMouse, "GNOME", kEverything, {"gnome-control-center", "mouse"}},
        LinkCase{"UbuntuGnome", kMouse, "ubuntu:GNOME",
                 kEverything, {"gnome-control-center", "mouse"}},
        LinkCase{"Budgie", kMouse, "Budgie:GNOME", kEverything, {"budgie-control-center", "mouse"}},
        LinkCase{"BudgieWithoutItsCentre", kMouse, "Budgie:GNOME",
                 {"gnome-control-center"}, {"gnome-control-center", "mouse"}},
        LinkCase{"Cinnamon", kMouse, "X-Cinnamon", kEverything, {"cinnamon-settings", "mouse"}},
        LinkCase{"Plasma", kMouse, "KDE", kEverything, {"systemsettings", "kcm_mouse"}},
        LinkCase{"PlasmaOnlyKcmshell", kMouse, "KDE", {"kcmshell5"}, {"kcmshell5", "kcm_mouse"}},
        LinkCase{"Xfce", kMouse, "XFCE", kEverything, {"xfce4-mouse-settings"}},
        LinkCase{"XfceLowerCase", kMouse, "xfce", kEverything, {"xfce4-mouse-settings"}},
        LinkCase{"Mate", kMouse, "MATE", kEverything, {"mate-mouse-properties"}},
        LinkCase{"Lxqt", kMouse, "LXQt", kEverything, {"lxqt-config-input"}},
        LinkCase{"Lxde", kMouse, "LXDE", kEverything, {"lxinput"}},
        LinkCase{"UnknownDesktopFallsBack", kMouse, "i3",
                 {"lxinput", "gnome-control-center"}, {"lxinput"}},
        LinkCase{"NoDesktopFallsBack", kMouse, "",
                 {"systemsettings"}, {"systemsettings", "kcm_mouse"}},
        LinkCase{"DesktopProgramMissingFallsBack", kMouse, "GNOME",
                 {"xfce4-mouse-settings"}, {"xfce4-mouse-settings"}},
        LinkCase{"MouseNothingInstalled", kMouse, "GNOME", {}, {}},
        LinkCase{"Plasma5Controller", kPad, "KDE",
                 {"kcmshell5", "systemsettings", "jstest-gtk"}, {"kcmshell5", "kcm_joystick"}},
        LinkCase{"Plasma6Controller", kPad, "KDE", {"systemsettings", "kcmshell6", "jstest-gtk"},
                 {"systemsettings", "kcm_gamecontroller"}},
        LinkCase{"GnomeController", kPad, "GNOME", kEverything, {"jstest-gtk"}},
        LinkCase{"ControllerFallbackToPlasma", kPad, "XFCE",
                 {"kcmshell5"}, {"kcmshell5", "kcm_joystick"}},
        LinkCase{"ControllerNothingInstalled", kPad, "GNOME", {"gnome-control-center"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(WindowsLinks, ControlPanelCommandLines) {
    EXPECT_EQ(WindowsLinkCommandLine(kMouse), "rundll32 shell32,Control_RunDLL main.cpl,,2");
    EXPECT_EQ(WindowsLinkCommandLine(kPad), "rundll32 shell32,Control_RunDLL joy.cpl");
    EXPECT_EQ(WindowsLinkCommand(kMouse),
              (Argv{"rundll32", "shell32,Control_RunDLL", "main.cpl,,2"}));
    EXPECT_EQ(WindowsLinkCommand(kPad), (Argv{"rundll32", "shell32,Control_RunDLL", "joy.cpl"}));
}

TEST(OpenSettingsLink, StartsTheChosenProgramOrNothing) {
    test::FakeProcessLauncher launcher;
    const auto onlyXfce = [](const std::string& p) { return p == "xfce4-mouse-settings"; };

    EXPECT_TRUE(OpenSettingsLink(kMouse, launcher, "XFCE", onlyXfce));
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0], Argv{"xfce4-mouse-settings"});

    EXPECT_FALSE(OpenSettingsLink(kPad, launcher, "XFCE", onlyXfce));
    EXPECT_EQ(launcher.started.size(), 1u);  // nothing found: nothing started

    launcher.startSucceeds = false;
    EXPECT_FALSE(OpenSettingsLink(kMouse, launcher, "XFCE", onlyXfce));
    EXPECT_EQ(launcher.started.size(), 2u);
}

}  // namespace
}  // namespace vantrel
