// Keeping the start-at-logon entry in line with StartAtLogon.
#include <gtest/gtest.h>

#include "core/startup/RunEntry.h"
#include "support/TempDir.h"
#include "support/fakes/FakeRunEntry.h"

namespace vantrel {
namespace {

const std::filesystem::path kExe = "/opt/My Tools/vantrel";

Settings WithStart(std::int16_t value) {
    Settings s = DefaultSettings();
    s.StartAtLogon = value;
    return s;
}

// A moved program writes its new path.
TEST(SyncRunEntry, OneWritesTheEntryOnEverySync) {
    FakeRunEntry port;
    const std::filesystem::path moved = "/usr/local/bin/vantrel";
    for (const auto& exe : {kExe, kExe, moved}) EXPECT_TRUE(SyncRunEntry(port, WithStart(1), exe));
    EXPECT_EQ(port.writes, (std::vector<std::filesystem::path>{kExe, kExe, moved}));
    EXPECT_EQ(port.removes, 0);
    EXPECT_EQ(port.entry, moved);
}

TEST(SyncRunEntry, EveryOtherValueRemovesTheEntry) {
    for (const std::int16_t value : {0, 2, -1, 32767}) {
        FakeRunEntry port;
        port.entry = kExe;
        EXPECT_TRUE(SyncRunEntry(port, WithStart(value), kExe)) << value;
        EXPECT_EQ(port.removes, 1);
        EXPECT_TRUE(port.writes.empty());
        EXPECT_FALSE(port.entry.has_value());
    }
}

TEST(SyncRunEntry, FailuresAreReportedNotThrown) {
    FakeRunEntry port;
    port.writeSucceeds = false;
    port.removeSucceeds = false;
    EXPECT_FALSE(SyncRunEntry(port, WithStart(1), kExe));
    EXPECT_FALSE(SyncRunEntry(port, WithStart(0), kExe));
    EXPECT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.removes, 1);
}

// The package's launcher /usr/bin/vantrel goes into the entry only when it leads to this program.
TEST(LogonCommand, LauncherOnlyWhenItLeadsToTheExecutable) {
    test::TempDir folder;
    folder.Write("lib/vantrel", "program");
    folder.Write("other/vantrel", "another copy");
    std::filesystem::create_directories(folder / "bin");
    std::error_code ec;
    std::filesystem::create_symlink("../lib/vantrel", folder / "bin/vantrel", ec);
    if (ec) GTEST_SKIP() << "no symbolic links here: " << ec.message();
    const std::filesystem::path exe = folder / "lib/vantrel";
    EXPECT_EQ(LogonCommand(exe, folder / "bin/vantrel"), folder / "bin/vantrel");
    EXPECT_EQ(LogonCommand(folder / "other/vantrel", folder / "bin/vantrel"),
              folder / "other/vantrel");
    EXPECT_EQ(LogonCommand(exe, folder / "missing"), exe);
    EXPECT_EQ(LogonCommand(exe, ""), exe);
}

}  // namespace
}  // namespace vantrel
