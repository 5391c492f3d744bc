#include "curve/CurveModel.h"
#include "measure_fixture.h"
#include <cmath>

namespace {

// A curve from 5 degrees at 1000 rpm to 25 degrees at 9000 rpm, as the curve editor builds
// its table (1200 twips per 1000 rpm from 500 rpm, 1200 twips per 10 degrees).
curve::Table sweepCurveTable() {
    curve::Curve c;
    c.points[0] = {600, 600};
    c.points[1] = {10200, 3000};
    c.CurveLastPoint = 1;
    curve::BuildCurveTable(c);
    return c.CurveTable;
}

class ClosedLoopWindowTest : public MeasureWindowTest {
protected:
    ClosedLoopWindowTest() {
        // The curve written into MDX, curve 1 marked programmed.
        UnitEeprom eeprom = link.unit.eeprom();
        for (int i = 0; i < curve::StoredEntries; ++i)
            eeprom.mdx[static_cast<size_t>(6 + i)] =
                static_cast<uint8_t>(table[static_cast<size_t>(i)]);
        eeprom.mdx[4] &= 0xFE;
        link.unit.setEeprom(eeprom);
        link.unit.setEngine({.profile = SpeedProfile::Sweep,
                             .sweepMinRpm = 1000,
                             .sweepMaxRpm = 9000,
                             .sweepPeriodS = 8});
        w = openFromMenu<frmMisAnt>("mnuMisAnt");
    }
    // Unit time passes, the input is drained and the read-back's timer ticks.
    void runChecking(int ticks) {
        for (int i = 0; i < ticks && w->findChild<QTimer*>("TimerVerifica")->isActive(); ++i) {
            pump(10'000);
            w->checkTick();
        }
    }

    const curve::Table table = sweepCurveTable();
    frmMisAnt* w = nullptr;
};

} // namespace

// The read-back's messages and its failures are the core's; here the window's part: the
// check from its button, its words, and the recording it must not disturb.
TEST_F(ClosedLoopWindowTest, EveryMeasuredPointLiesOnTheCurveReadBackFromTheUnit) {
    ASSERT_NE(w, nullptr);
    record(w, 8000); // one whole sweep up and down
    const RowSource& rows = w->rows();
    ASSERT_GT(rows.size(), 500u);

    // The check reads curve 1 back from MDX; every point lies within half a degree of it.
    click(w, "ComVerifica");
    runChecking(2000);
    ASSERT_TRUE(w->referenceTable().has_value());
    run(20);                           // the unit's answer to 0xD0
    EXPECT_FALSE(link.inputStarted()); // the read-back's input ends with it
    const size_t points = w->checkSummary().compared;
    EXPECT_GT(points, 500u);
    EXPECT_LE(std::fabs(w->checkSummary().largest), 0.5);
    EXPECT_TRUE(text(w, "LabVerifica").contains(QString::number(points) + " punti"));
    // One line of differences per row.
    EXPECT_EQ(get<QListView>(w, "ListScarti")->model()->rowCount(), static_cast<int>(rows.size()));

    // A live run goes on being compared.
    record(w, 3000);
    EXPECT_GT(w->checkSummary().compared, points);
    EXPECT_LE(std::fabs(w->checkSummary().largest), 0.5);
}

// In programming mode the unit streams no revolutions, and its replies would be taken for
// revolution data: the read-back is refused while recording, and a recording that starts
// ends a read-back.
TEST_F(ClosedLoopWindowTest, RecordingAndReadingBackExcludeEachOtherAndAFailedReadBackSaysWhy) {
    ASSERT_NE(w, nullptr);
    click(w, "ComStop");
    run(500);
    const size_t before = w->rows().size();
    ASSERT_GT(before, 0u);
    click(w, "ComVerifica");
    EXPECT_TRUE(text(w, "LabVerifica").contains("Fermare la misura")) << text(w, "LabVerifica");
    EXPECT_EQ(link.sentCount(0xD1), 0);
    run(500);
    EXPECT_GT(w->rows().size(), before); // the recording went on undisturbed
    click(w, "ComStop");

    // Start while the curve is being read: the read-back ends, the unit back in run mode,
    // and the recording gets its revolutions.
    click(w, "ComVerifica");
    runChecking(10);
    ASSERT_EQ(link.unit.mode(), UnitMode::Programming);
    click(w, "ComStop");
    EXPECT_FALSE(w->findChild<QTimer*>("TimerVerifica")->isActive());
    EXPECT_EQ(link.unit.mode(), UnitMode::Run);
    EXPECT_TRUE(text(w, "LabVerifica").contains("annullata")) << text(w, "LabVerifica");
    const size_t atStart = w->rows().size();
    run(500);
    EXPECT_GT(w->rows().size(), atStart);
    click(w, "ComStop");

    // A unit that does not answer or refuses ends the check with a word.
    for (const auto& [faults, word] : {std::pair{UnitFaults{.silent = true}, "Nessuna risposta"},
                                       std::pair{UnitFaults{.refuseModes = true}, "rifiutato"}}) {
        link.unit.setFaults(faults);
        click(w, "ComVerifica");
        runChecking(101); // the hand-shake's second
        EXPECT_FALSE(w->findChild<QTimer*>("TimerVerifica")->isActive()) << word;
        EXPECT_FALSE(w->referenceTable().has_value());
        EXPECT_TRUE(text(w, "LabVerifica").contains(word)) << text(w, "LabVerifica");
        EXPECT_TRUE(get<QPushButton>(w, "ComVerifica")->isEnabled());
    }
}
