// Keeping the start-at-logon entry in line with StartAtLogon.
#include <gtest/gtest.h>

#include "core/startup/RunEntry.h"
#include "support/fakes/FakeRunEntry.h"

namespace vantrel {
namespace {

const std::filesystem::path kExe = "/opt/My Tools/vantrel";

Settings WithStart(std::int16_t value) {
    Settings s = DefaultSettings();
    s.StartAtLogon = value;
    return s;
}

TEST(SyncRunEntry, OneWritesTheEntryOnEverySync) {
    FakeRunEntry port;
    EXPECT_TRUE(SyncRunEntry(port, WithStart(1), kExe));
    EXPECT_TRUE(SyncRunEntry(port, WithStart(1), kExe));
    EXPECT_EQ(port.writes, (std::vector<std::filesystem::path>{kExe, kExe}));
    EXPECT_EQ(port.removes, 0);
    EXPECT_EQ(port.entry, kExe);
}

TEST(SyncRunEntry, AMovedProgramWritesItsNewPath) {
    FakeRunEntry port;
    SyncRunEntry(port, WithStart(1), kExe);
    SyncRunEntry(port, WithStart(1), "/usr/local/bin/vantrel");
    EXPECT_EQ(port.entry, std::filesystem::path("/usr/local/bin/vantrel"));
}

class SyncRunEntryOff : public ::testing::TestWithParam<std::int16_t> {};

TEST_P(SyncRunEntryOff, EveryOtherValueRemovesTheEntry) {
    FakeRunEntry port;
    port.entry = kExe;
    EXPECT_TRUE(SyncRunEntry(port, WithStart(GetParam()), kExe));
    EXPECT_EQ(port.removes, 1);
    EXPECT_TRUE(port.writes.empty());
    EXPECT_FALSE(port.entry.has_value());
}

INSTANTIATE_TEST_SUITE_P(Values, SyncRunEntryOff, ::testing::Values(0, 2, -1, 32767));

TEST(SyncRunEntry, FailuresAreReportedNotThrown) {
    FakeRunEntry port;
    port.writeSucceeds = false;
    port.removeSucceeds = false;
    EXPECT_FALSE(SyncRunEntry(port, WithStart(1), kExe));
    EXPECT_FALSE(SyncRunEntry(port, WithStart(0), kExe));
    EXPECT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.removes, 1);
}

}  // namespace
}  // namespace vantrel
