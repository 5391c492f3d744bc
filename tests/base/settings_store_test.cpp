#include "base/FileStore.h"
#include "base/SettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace base;

namespace fs = std::filesystem;

namespace {

struct SettingsStoreTest : ::testing::Test {
    fs::path folder = fs::temp_directory_path() /
                      (std::string("zephalon_settings_") +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    AppState app;

    SettingsStoreTest() {
        fs::remove_all(folder);
        fs::create_directories(folder);
        app.setAppFolder(folder.string(), '/');
    }
    ~SettingsStoreTest() override { fs::remove_all(folder); }
};

} // namespace

TEST_F(SettingsStoreTest, FirstRunCreatesTheFileLaterRunsReadItSavesKeepRecordOne) {
    EXPECT_FALSE(LoadSettings(app));
    EXPECT_EQ(app.MIDIOutDevice, 99);
    EXPECT_EQ(fs::file_size(app.SettingsPath), 5500u);
    // Another program keeps a byte at position 9 of the file meanwhile.
    std::string file = *readWholeFile(app.SettingsPath);
    file[8] = 'Q';
    ASSERT_EQ(writeFileAtomically(app.SettingsPath, file), "");

    EXPECT_EQ(SaveSettings(app), "");
    EXPECT_EQ(fs::file_size(app.SettingsPath), 7000u);
    EXPECT_EQ(readWholeFile(app.SettingsPath)->substr(0, 9), "ZEPHALONQ");
    // The fields a later run reads back are checked through the main window's closing.
    AppState next;
    next.SettingsPath = app.SettingsPath;
    EXPECT_TRUE(LoadSettings(next));

    // Replaced by a foreign file before the exit: its first record is not taken.
    ASSERT_EQ(writeFileAtomically(app.SettingsPath, "crva 0" + std::string(600, '\xEE')), "");
    app.MIDIOutDevice = 3;
    EXPECT_EQ(SaveSettings(app), "");
    const std::string saved = *readWholeFile(app.SettingsPath);
    EXPECT_EQ(saved.substr(0, 9), "ZEPHALONQ");
    EXPECT_EQ(static_cast<int>(saved[21]), 3);
    EXPECT_EQ(saved.find('\xEE'), std::string::npos);

    // A foreign file at the start is replaced with a new one of defaults.
    std::ofstream(app.SettingsPath, std::ios::binary | std::ios::trunc) << "not a settings file";
    EXPECT_FALSE(LoadSettings(next));
    EXPECT_EQ(next.MIDIOutDevice, 99);
    EXPECT_EQ(fs::file_size(app.SettingsPath), 5500u);

    // The temporary name is taken by a folder: the failed save is reported, the file stays
    // whole and no other file is left behind.
    fs::create_directory(app.SettingsPath + ".tmp~");
    EXPECT_NE(SaveSettings(next), "");
    EXPECT_EQ(fs::file_size(app.SettingsPath), 5500u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

// A file that cannot be taken (a folder of its name, one refused by its size) falls back on
// the defaults and is never replaced.
TEST_F(SettingsStoreTest, AFolderOrAHugeFileInThePlaceOfTheFileIsLeftAlone) {
    fs::create_directory(app.SettingsPath);
    EXPECT_FALSE(LoadSettings(app));
    EXPECT_TRUE(app.SettingsUnreadable);
    EXPECT_EQ(app.MIDIOutDevice, 99);
    EXPECT_EQ(SaveSettings(app), "");
    EXPECT_TRUE(fs::is_directory(app.SettingsPath));

    fs::remove(app.SettingsPath);
    { std::ofstream(app.SettingsPath, std::ios::binary) << "ZEPHALON"; }
    fs::resize_file(app.SettingsPath, 100'000'000); // sparse: nothing is really written
    EXPECT_FALSE(LoadSettings(app));
    EXPECT_EQ(app.SettingsReadError, "100000000 bytes");
    EXPECT_EQ(SaveSettings(app), "");
    EXPECT_EQ(fs::file_size(app.SettingsPath), 100'000'000u);
}

TEST_F(SettingsStoreTest, ASerialPortRecordCutShortKeepsItsWholePathsAndCountsTheOthers) {
    app.SerialPorts = {"/dev/ttyUSB0", "/dev/pts/3"};
    ASSERT_EQ(SaveSettings(app), "");
    const std::string full = readWholeFile(app.SettingsPath).value_or("");
    ASSERT_EQ(full.size(), 7500u);
    // Record 15 follows byte 7000, its count is byte 7011; path 1 fills bytes 7012-7023 of
    // its field 7012-7071, path 2 bytes 7072-7081 of 7072-7131. A path is whole once a blank
    // of its field follows it.
    const struct {
        std::size_t size, kept, cut;
    } cases[] = {{7001, 0, 0}, {7011, 0, 2}, {7023, 0, 2}, {7024, 1, 1},
                 {7071, 1, 1}, {7081, 1, 1}, {7082, 2, 0}, {7499, 2, 0}};
    for (const auto& [size, kept, cut] : cases) {
        std::ofstream(app.SettingsPath, std::ios::binary | std::ios::trunc) << full.substr(0, size);
        AppState a;
        a.SettingsPath = app.SettingsPath;
        ASSERT_TRUE(LoadSettings(a));
        EXPECT_EQ(a.SerialPorts.size(), kept) << size;
        EXPECT_EQ(a.SerialPortsCutOff, cut) << size;
        if (kept > 0) {
            EXPECT_EQ(a.SerialPorts[0], "/dev/ttyUSB0") << size;
        }
    }
}

// A save through a symbolic link, or through a link to that link, replaces the file they
// point to and leaves every link a link; a link to a file not there yet creates it.
TEST_F(SettingsStoreTest, SavingThroughALinkReplacesTheFileItPointsTo) {
    const fs::path real = folder / "real";
    const fs::path links = folder / "links";
    fs::create_directories(real);
    fs::create_directories(links);
    const fs::path target = real / "curva.crva";
    ASSERT_EQ(writeFileAtomically(target.string(), "old"), "");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("../real/curva.crva", links / "first");
    fs::create_symlink(links / "first", links / "second");

    ASSERT_EQ(writeFileAtomically((links / "second").string(), "new"), "");
    EXPECT_TRUE(fs::is_symlink(links / "second"));
    EXPECT_EQ(fs::read_symlink(links / "first"), "../real/curva.crva");
    EXPECT_EQ(readWholeFile(target.string()), "new");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(std::distance(fs::directory_iterator(links), fs::directory_iterator()), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(real), fs::directory_iterator()), 1);

    fs::create_symlink("nuova.crva", real / "dangling");
    ASSERT_EQ(writeFileAtomically((real / "dangling").string(), "made"), "");
    EXPECT_TRUE(fs::is_symlink(real / "dangling"));
    EXPECT_EQ(readWholeFile((real / "nuova.crva").string()), "made");
    EXPECT_FALSE(readWholeFile((real / "none").string()));

    // Links are followed 40 deep, as the system does: a save through link 1 of the chain
    // 0 -> 1 -> ... -> 40 -> file reaches the file, one through link 0 stops at link 40.
    for (int i = 0; i <= 40; ++i)
        fs::create_symlink(i == 40 ? target : links / ("c" + std::to_string(i + 1)),
                           links / ("c" + std::to_string(i)));
    ASSERT_EQ(writeFileAtomically((links / "c1").string(), "deep"), "");
    EXPECT_EQ(readWholeFile(target.string()), "deep");
    ASSERT_EQ(writeFileAtomically((links / "c0").string(), "deeper"), "");
    EXPECT_EQ(readWholeFile(target.string()), "deep");
}

// A file the user running the program may not read: LoadSettings falls back on the defaults
// and neither it nor SaveSettings at exit replaces the file. Root reads anything, so as root
// the run happens in a child process that has become "nobody".
TEST_F(SettingsStoreTest, AnUnreadableFileIsLeftAsItIs) {
    app.MIDIOutDevice = 3;
    app.SerialPorts = {"/dev/ttyUSB0"};
    ASSERT_EQ(SaveSettings(app), "");
    const std::string before = readWholeFile(app.SettingsPath).value_or("");
    ASSERT_EQ(before.size(), 7500u);
    fs::permissions(app.SettingsPath, fs::perms::none);
    // Everyone may write into the folder, so only the program's own care keeps the file.
    fs::permissions(folder, fs::perms::all);

    auto run = [&] {
        AppState a;
        a.setAppFolder(folder.string(), '/');
        const bool read = LoadSettings(a);
        const bool refused = !read && a.SettingsUnreadable && a.MIDIOutDevice == 99;
        a.MIDIOutDevice = 5; // the user changes something during the run
        return refused && SaveSettings(a).empty();
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(run());
    } else {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && run();
            ::_exit(ok ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    fs::permissions(app.SettingsPath, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(readWholeFile(app.SettingsPath), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}
