// Reads our autostart entries back the way GLib-based session managers do: key file, then
// field-code expansion, then shell-style splitting. The program's path must come out unchanged.
#include <glib.h>
#include <gtest/gtest.h>

#include <string>

#include "core/startup/CommandLine.h"
#include "core/startup/DesktopEntry.h"

namespace vantrel {
namespace {

// Field codes are expanded on the raw Exec value before it is split; "%%" gives "%".
std::string ExpandFieldCodes(const std::string& exec) {
    std::string out;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] == '%' && i + 1 < exec.size()) {
            if (exec[i + 1] == '%') out += '%';
            ++i;  // other codes expand to nothing without files or URLs
        } else {
            out += exec[i];
        }
    }
    return out;
}

class DesktopEntryThroughGLib : public ::testing::TestWithParam<const char*> {};

TEST_P(DesktopEntryThroughGLib, ExecGivesBackThePathAsOneArgumentThenTheLogonOne) {
    const std::string path = GetParam();
    const std::string text = AutostartDesktopEntry(path);

    g_autoptr(GKeyFile) file = g_key_file_new();
    GError* error = nullptr;
    ASSERT_TRUE(g_key_file_load_from_data(file, text.c_str(), text.size(), G_KEY_FILE_NONE, &error))
        << (error ? error->message : "");
    g_autofree gchar* type = g_key_file_get_string(file, "Desktop Entry", "Type", nullptr);
    g_autofree gchar* name = g_key_file_get_string(file, "Desktop Entry", "Name", nullptr);
    g_autofree gchar* exec = g_key_file_get_string(file, "Desktop Entry", "Exec", &error);
    ASSERT_NE(exec, nullptr) << (error ? error->message : "");
    EXPECT_STREQ(type, "Application");
    EXPECT_STREQ(name, "Vantrel");
    // The desktop skips the entry once this file is gone.
    g_autofree gchar* tryExec = g_key_file_get_string(file, "Desktop Entry", "TryExec", nullptr);
    EXPECT_STREQ(tryExec, path.c_str());

    gint argc = 0;
    g_auto(GStrv) argv = nullptr;
    const std::string expanded = ExpandFieldCodes(exec);
    ASSERT_TRUE(g_shell_parse_argv(expanded.c_str(), &argc, &argv, &error))
        << (error ? error->message : "");
    ASSERT_EQ(argc, 2) << exec;
    EXPECT_EQ(std::string(argv[0]), path) << exec;
    EXPECT_EQ(argv[1], kAtLogonOption) << exec;
}

INSTANTIATE_TEST_SUITE_P(Paths, DesktopEntryThroughGLib,
                         ::testing::Values("/usr/bin/vantrel", "/opt/My Tools/vantrel",
                                           R"(/home/u/My "Apps"/$HOME/back\slash/vantrel)",
                                           "/opt/100%/%f %u/vantrel", "/opt/a`id`/it's/vantrel",
                                           R"(/opt/\\double\\/vantrel)", "/opt/tab\there/vantrel",
                                           "/opt/new\nline/vantrel", " /leading blank",
                                           "/opt/caffè ~/#1/vantrel"));

}  // namespace
}  // namespace vantrel
