// The settings file under faults: a writer killed at any moment, a folder it cannot write, files
// of random bytes, and a name that is no regular file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/settings/PointerSpeed.h"
#include "core/settings/SettingsFile.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

Settings First() {
    Settings s = DefaultSettings();
    s.LanguageFile = "English.lng";
    return s;
}

// Differs from First() in every field, and is longer, so a torn file cannot pass for either.
Settings Second() {
    return {-32768, 32767, 12, "0.125",
            0,      0,     7,  "a rather long, quoted name for a language file.lng"};
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

void SleepMicroseconds(long us) {
    const timespec pause{0, us * 1000};
    nanosleep(&pause, nullptr);
}

// A child process saving Second() and First() in turn, forever; returns once its first save is
// done, so a kill that follows lands while it is saving.
pid_t StartSavingLoop(const fs::path& file) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(ready[0]);
        for (unsigned i = 0;; ++i) {
            static_cast<void>(SaveSettings(file, i % 2 ? First() : Second()));  // kept going
            if (i == 0) static_cast<void>(write(ready[1], "x", 1) == 1);
        }
    }
    close(ready[1]);
    char byte = 0;
    const bool started = child > 0 && read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    return started ? child : -1;
}

void Kill(pid_t child) {
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
}

TEST(SettingsKilledWhileSaving, FileIsAlwaysOneWholeRecord) {
    TempDir dir;
    const fs::path file = SettingsPath(dir.path());
    ASSERT_TRUE(SaveSettings(file, First()));
    std::mt19937 random(20240611);
    std::uniform_int_distribution<long> delay(0, 3000);
    // Counted for the record: which of the two records the kills left.
    int sawFirst = 0, sawSecond = 0;
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t child = StartSavingLoop(file);
        ASSERT_GT(child, 0);
        SleepMicroseconds(delay(random));
        Kill(child);

        Settings read;
        ASSERT_EQ(LoadSettings(file, read), SettingsLoad::Found);
        if (read == First())
            ++sawFirst;
        else if (read == Second())
            ++sawSecond;
        else
            FAIL() << "torn settings file after kill " << kill << ":\n" << ReadFile(file);
    }
    RecordProperty("first", sawFirst);
    RecordProperty("second", sawSecond);
}

TEST(SettingsKilledWhileSaving, LeftoverTemporariesAreClearedOnceStale) {
    TempDir dir;
    const fs::path file = SettingsPath(dir.path());
    ASSERT_TRUE(SaveSettings(file, First()));
    // Kills between creating and renaming the temporary file leave it behind.
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t child = StartSavingLoop(file);
        ASSERT_GT(child, 0);
        SleepMicroseconds(static_cast<long>(kill % 20) * 100);
        Kill(child);
    }
    std::set<std::string> left = Names(dir.path());
    left.erase("Vantrel.ini");
    left.insert("Vantrel.ini.tmp12345");  // one old leftover for certain
    WriteFile(dir / "Vantrel.ini.tmp12345", "1\r\n");

    // Other files, and temporaries too fresh to be left over (another save may be using one),
    // are not touched.
    const std::vector<std::string> foreign = {"Vantrel.ini.tmp", "Vantrel.ini.tmpx1",
                                              "Other.ini.tmp123", "Vantrel.ini.bak"};
    for (const std::string& name : foreign) WriteFile(dir / name, "keep");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
    for (const std::string& name : foreign) fs::last_write_time(dir / name, old);
    for (const std::string& name : left) fs::last_write_time(dir / name, old);
    WriteFile(dir / "Vantrel.ini.tmp999", "in use");

    ASSERT_TRUE(SaveSettings(file, Second()));
    std::set<std::string> expected(foreign.begin(), foreign.end());
    expected.insert({"Vantrel.ini", "Vantrel.ini.tmp999"});
    EXPECT_EQ(Names(dir.path()), expected) << left.size() << " temporaries were left by the kills";
    Settings read;
    LoadSettings(file, read);
    EXPECT_EQ(read, Second());
}

TEST(SettingsSaveFails, ReadOnlyProgramFolderLeavesOnlyTheOldFile) {
    TempDir dir;
    const fs::path file = SettingsPath(dir.path());
    ASSERT_TRUE(SaveSettings(file, First()));
    const std::string before = ReadFile(file);
    // Read-only for everyone, the file itself writable: only the folder stops the save.
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(file, fs::perms::all);
    EXPECT_EQ(
        test::ExitStatusWithoutPrivileges([&] { return SaveSettings(file, Second()) ? 0 : 1; }), 1);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"Vantrel.ini"});
}

TEST(SettingsSaveFails, RenameRefusedLeavesNoTemporary) {
    // A folder in the file's place: the temporary is written, the rename over it fails.
    TempDir dir;
    const fs::path file = SettingsPath(dir.path());
    fs::create_directories(file / "inside");
    EXPECT_FALSE(SaveSettings(file, First()));
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"Vantrel.ini"});
    EXPECT_TRUE(fs::is_directory(file / "inside"));
}

// Random bytes: from all 256 values, or from the characters the reader gives meaning to.
std::string RandomBytes(std::mt19937& random, std::size_t size, bool meaningful) {
    static constexpr char kMeaningful[] = "0123456789+-.eE, \t\r\n\"\x80\xC3\xA9\xFF";
    std::uniform_int_distribution<int> any(0, 255);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kMeaningful - 2);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = meaningful ? kMeaningful[pick(random)] : static_cast<char>(any(random));
    return bytes;
}

TEST(SettingsRandomFile, ReadsAndSavesBackToTheSameRecord) {
    TempDir dir;
    const fs::path file = SettingsPath(dir.path());
    int numbersRead = 0;
    for (const unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        std::mt19937 random(seed);
        for (const std::size_t size :
             {std::size_t{0}, std::size_t{1}, std::size_t{9}, std::size_t{40}, std::size_t{300},
              std::size_t{4096}, std::size_t{1} << 20}) {
            for (const bool meaningful : {false, true}) {
                SCOPED_TRACE(testing::Message() << "seed " << seed << ", " << size << " bytes"
                                                << (meaningful ? ", meaningful" : ""));
                WriteFile(file, RandomBytes(random, size, meaningful));
                Settings read;
                ASSERT_EQ(LoadSettings(file, read), SettingsLoad::Found);
                if (read.LeftButton != 0 || read.RightButton != 0) ++numbersRead;

                ASSERT_TRUE(SaveSettings(file, read));
                Settings back;
                ASSERT_EQ(LoadSettings(file, back), SettingsLoad::Found);
                // The speed's text may become the number the engine reads from it; all else is
                // the same.
                Settings sameSpeed = back;
                sameSpeed.PointerSpeed = read.PointerSpeed;
                EXPECT_EQ(sameSpeed, read);
                EXPECT_EQ(PointerStepFromSpeed(back.PointerSpeed),
                          PointerStepFromSpeed(read.PointerSpeed));
                const std::string saved = ReadFile(file);
                ASSERT_TRUE(SaveSettings(file, back));
                EXPECT_EQ(ReadFile(file), saved);
            }
        }
    }
    EXPECT_GT(numbersRead, 0) << "no random file gave a number: the cases test nothing";
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"Vantrel.ini"});
}

// What stands where the settings file should be: a FIFO (opening it would wait for a writer
// forever), links to a FIFO and to a device that reads without end.
enum class NotRegular { Fifo, LinkToFifo, LinkToDevice };

class SettingsNotARegularFile : public ::testing::TestWithParam<NotRegular> {};

// A child process loads and then saves; a start that blocks shows as a child still running.
TEST_P(SettingsNotARegularFile, ReadsAsUnreadableWithoutBlockingAndIsReplacedOnSave) {
    TempDir dir;
    const fs::path file = SettingsPath(dir.path());
    const fs::path fifo = dir / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    switch (GetParam()) {
        case NotRegular::Fifo:
            fs::rename(fifo, file);
            break;
        case NotRegular::LinkToFifo:
            fs::create_symlink(fifo, file);
            break;
        case NotRegular::LinkToDevice:
            fs::create_symlink("/dev/zero", file);
            break;
    }

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Read as an unreadable file (every field 0), then replaced by a regular file on save.
        Settings read = First(), back;
        const bool sound = LoadSettings(file, read) == SettingsLoad::Found && read == Settings{} &&
                           SaveSettings(file, Second()) &&
                           fs::is_regular_file(fs::symlink_status(file)) &&
                           LoadSettings(file, back) == SettingsLoad::Found && back == Second();
        _exit(sound ? 0 : 1);
    }
    int status = 0;
    for (int waited = 0; waitpid(child, &status, WNOHANG) == 0; ++waited) {
        if (waited == 1000) {
            Kill(child);
            FAIL() << "loading the settings blocked";
        }
        SleepMicroseconds(10000);
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

INSTANTIATE_TEST_SUITE_P(HostileNames, SettingsNotARegularFile,
                         ::testing::Values(NotRegular::Fifo, NotRegular::LinkToFifo,
                                           NotRegular::LinkToDevice));

}  // namespace
}  // namespace vantrel
