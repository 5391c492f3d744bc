// The program ends on a signal while a measurement is being recorded.
#include "rotation_fixture.h"

TEST_F(RotationWindowTest, ARecordingStillRunningIsRecoveredWithTheRowsTakenSoFar) {
    ASSERT_NE(openFromMenu(), nullptr);
    click("ComAnticipo"); // the advance window follows the recording
    ASSERT_NE(main->findChild<frmMisAnt*>(), nullptr);
    click("ComStop");
    run(1000); // 50 revolutions of 20 ms
    ASSERT_EQ(caption("ComStop"), "Stop");

    const std::tm when{9, 5, 4, 7, 11, 2026 - 1900, 0, 0, 0, 0, nullptr}; // 7 Dec 2026 04:05:09
    const std::vector<std::string> names = main->documents().writeRecoveryFiles(when);
    // Both windows hold the 50 rows: a rotation file and an advance one, named after the
    // measurement ("Misura-<date>-<time>") and the moment.
    ASSERT_EQ(names.size(), 2u);
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        EXPECT_EQ(name.rfind("Recupero-Misura-", 0), 0u) << name;
        EXPECT_EQ(name.substr(name.size() - 21),
                  i == 0 ? "-20261207-040509.mrot" : "-20261207-040509.mant");
        const std::optional<MrotDocument> file =
            parseMrot(readWholeFile(t.path(name)).value_or(""));
        ASSERT_TRUE(file.has_value()) << name;
        ASSERT_EQ(file->rows.size(), 50u) << name;
        EXPECT_EQ(file->rows[49].substr(0, 13), "    50  3,000") << name;
    }
    // The recording itself goes on until the program closes.
    EXPECT_EQ(caption("ComStop"), "Stop");
}
