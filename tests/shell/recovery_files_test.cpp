#include "base/FileStore.h"
#include "shell/RecoveryFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace base;
using namespace shell;

namespace fs = std::filesystem;

namespace {

std::tm at(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

} // namespace

TEST(RecoveryFiles, NamesSayWhatAndWhenInPlainLetters) {
    const std::tm when = at(2026, 12, 7, 4, 5, 9);
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
