#include "app/FileStore.h"
#include "app/SettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

TEST(AppFolder, PathsAreBuiltWithTheGivenSeparator) {
    AppState a;
    a.setAppFolder("C:\\Zephalon", '\\');
    EXPECT_EQ(a.SettingsPath, "C:\\Zephalon\\ZEPHALON.iniz");
    EXPECT_EQ(a.NotebookPath, "C:\\Zephalon\\Notebook.txt");
    a.setAppFolder("/", '/');
    EXPECT_EQ(a.SettingsPath, "/ZEPHALON.iniz");
}

TEST_F(SettingsStoreTest, FirstRunCreatesTheFileAndLaterRunsReadIt) {
    EXPECT_FALSE(LoadSettings(app));
    EXPECT_EQ(app.MIDIOutDevice, 99);
    EXPECT_EQ(fs::file_size(app.SettingsPath), 5500u);

    app.MIDIOutDevice = 2;
    app.StatusBarOn = false;
    EXPECT_EQ(SaveSettings(app), "");
    EXPECT_EQ(fs::file_size(app.SettingsPath), 7000u);

    AppState next;
    next.SettingsPath = app.SettingsPath;
    EXPECT_TRUE(LoadSettings(next));
    EXPECT_EQ(next.MIDIOutDevice, 2);
    EXPECT_FALSE(next.StatusBarOn);
}

TEST_F(SettingsStoreTest, ForeignFileIsReplacedWithDefaults) {
    std::ofstream(app.SettingsPath, std::ios::binary) << "not a settings file";
    app.MIDIInDevice = 4;
    EXPECT_FALSE(LoadSettings(app));
    EXPECT_EQ(app.MIDIInDevice, 99);
    const std::string file = readWholeFile(app.SettingsPath).value_or("");
    EXPECT_EQ(file.size(), 5500u);
    EXPECT_EQ(file.substr(0, 8), "ZEPHALON");
}

TEST_F(SettingsStoreTest, SaveTakesRecordOneOnlyFromAFileWithTheSignature) {
    EXPECT_FALSE(LoadSettings(app));
    // Another program keeps a byte at position 9 of the file meanwhile.
    std::string file = *readWholeFile(app.SettingsPath);
    file[8] = 'Q';
    ASSERT_EQ(writeFileAtomically(app.SettingsPath, file), "");
    EXPECT_EQ(SaveSettings(app), "");
    EXPECT_EQ(readWholeFile(app.SettingsPath)->substr(0, 9), "ZEPHALONQ");

    // Replaced by a foreign file before the exit: its first record is not taken.
    ASSERT_EQ(writeFileAtomically(app.SettingsPath, "crva 0" + std::string(600, '\xEE')), "");
    app.MIDIOutDevice = 3;
    EXPECT_EQ(SaveSettings(app), "");
    const std::string saved = *readWholeFile(app.SettingsPath);
    EXPECT_EQ(saved.substr(0, 9), "ZEPHALONQ");
    EXPECT_EQ(static_cast<int>(saved[21]), 3);
    EXPECT_EQ(saved.find('\xEE'), std::string::npos);
}

TEST_F(SettingsStoreTest, AtomicWriteReplacesTheWholeFileOrLeavesTheOldOne) {
    const std::string path = (folder / "doc.txt").string();
    ASSERT_EQ(writeFileAtomically(path, std::string(100, 'a')), "");
    ASSERT_EQ(writeFileAtomically(path, std::string("b\0c", 3)), "");
    EXPECT_EQ(readWholeFile(path), std::string("b\0c", 3));
    EXPECT_FALSE(readWholeFile((folder / "none").string()));
    // The temporary file cannot be created: the old file stays whole.
    fs::create_directory(path + ".tmp~");
    EXPECT_NE(writeFileAtomically(path, "new"), "");
    EXPECT_EQ(readWholeFile(path), std::string("b\0c", 3));
}

TEST_F(SettingsStoreTest, FailedWriteIsReportedAndLeavesNoTemporaryFile) {
    // The target name is taken by a folder, so the rename cannot happen.
    fs::create_directory(app.SettingsPath);
    EXPECT_FALSE(LoadSettings(app));
    EXPECT_EQ(app.MIDIOutDevice, 99);
    EXPECT_NE(SaveSettings(app), "");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}
