#include "base/FileStore.h"
#include "shell/RecoveryFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace base;
using namespace shell;

namespace fs = std::filesystem;

TEST(RecoveryFiles, NamesSayWhatAndWhenInPlainLetters) {
    std::tm when{}; // 7 December 2026, 04:05:09
    when.tm_year = 126;
    when.tm_mon = 11;
    when.tm_mday = 7;
    when.tm_hour = 4;
    when.tm_min = 5;
    when.tm_sec = 9;
    // From a path (Latin-1 "è" and blanks become "_"), a caption with its modified mark,
    // a Windows path; nothing at all leaves the stamp alone.
    EXPECT_EQ(recoveryFileName(recoveryLabel("/home/ugo/Curva \xE8 1.crva"), "crva", when),
              "Recupero-Curva___1-20261207-040509.crva");
    EXPECT_EQ(recoveryLabel("Misura Rotazione: Misura-7dic26-101500.mrot*"),
              "Misura-7dic26-101500");
    EXPECT_EQ(recoveryLabel("C:\\dati\\Bobina.2.ibob *"), "Bobina.2");
    EXPECT_EQ(recoveryFileName(recoveryLabel(""), "ibob", when), "Recupero-20261207-040509.ibob");
    EXPECT_EQ(recoveryLabel(std::string(60, 'a')), std::string(40, 'a'));

    // A name already taken gets a number before its extension.
    const fs::path folder = fs::temp_directory_path() / "zephalon_recovery_names";
    fs::remove_all(folder);
    fs::create_directories(folder);
    AppState app;
    app.setAppFolder(folder.string(), '/');
    const std::string name = "Recupero-a-20261207-040509.crva";
    EXPECT_EQ(freeRecoveryPath(app, name), (folder / name).string());
    ASSERT_EQ(writeFileAtomically((folder / name).string(), "x"), "");
    EXPECT_EQ(freeRecoveryPath(app, name), (folder / "Recupero-a-20261207-040509-2.crva").string());
    fs::remove_all(folder);
}
