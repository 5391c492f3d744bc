#include "curve/CurveModel.h"
#include "measure/ui/frmMisAnt.h"
#include "measure_fixture.h"
#include "support/ui/DrainRing.h"
#include <QComboBox>
#include <QListView>
#include <cmath>

using namespace base;
using namespace protocol;
using namespace unit;
using namespace measure;

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

TEST_F(ClosedLoopWindowTest, EveryMeasuredPointLiesOnTheCurveReadBackFromTheUnit) {
    ASSERT_NE(w, nullptr);
    click(w, "ComStop");
    run(8000); // one whole sweep up and down
    click(w, "ComStop");

    const RowSource& rows = w->rows();
    ASSERT_GT(rows.size(), 500u);

    // The check reads curve 1 back from MDX; every point lies within half a degree of it.
    auto* source = get<QComboBox>(w, "ComboSorgente");
    ASSERT_EQ(source->currentText(), "MDX");
    EXPECT_EQ(get<QComboBox>(w, "ComboCurva")->currentText(), "Curva 1");
    // The unit answers memory reads only in programming mode: the check asks for it first
    // and sends the unit back to run mode at the end.
    link.sent.clear();
    click(w, "ComVerifica");
    EXPECT_TRUE(link.inputStarted());
    ASSERT_EQ(link.sent, std::vector<uint32_t>{0xD1});
    runChecking(2000);
    ASSERT_EQ(link.sent.size(), 1u + curve::StoredEntries + 1u); // 0xD1, the reads, 0xD0
    EXPECT_EQ(link.sent[1], 0x0688u);                            // MDX, address 6
    EXPECT_EQ(link.sent.back(), 0xD0u);
    EXPECT_EQ(link.unit.mode(), UnitMode::Run);
    ASSERT_TRUE(w->referenceTable().has_value());
    for (int i = 0; i < curve::StoredEntries; ++i)
        ASSERT_EQ((*w->referenceTable())[static_cast<size_t>(i)], table[static_cast<size_t>(i)]);
    run(20);                           // the unit's answer to 0xD0
    EXPECT_FALSE(link.inputStarted()); // the read-back's input ends with it
    const size_t points = w->checkSummary().compared;
    EXPECT_GT(points, 500u);
    EXPECT_LE(std::fabs(w->checkSummary().largest), 0.5);
    const QString summary = text(w, "LabVerifica");
    EXPECT_TRUE(summary.contains(QString::number(points) + " punti")) << summary.toStdString();
    // One line of differences per row.
    EXPECT_EQ(get<QListView>(w, "ListScarti")->model()->rowCount(), static_cast<int>(rows.size()));

    // A live run goes on being compared.
    click(w, "ComStop");
    run(3000);
    click(w, "ComStop");
    EXPECT_GT(w->checkSummary().compared, points); // the new rows were compared too
    EXPECT_LE(std::fabs(w->checkSummary().largest), 0.5);
}

TEST_F(ClosedLoopWindowTest, AUnitThatDoesNotAnswerEndsTheCheck) {
    ASSERT_NE(w, nullptr);
    // The unit takes the commands but says nothing: after a second the check gives up.
    UnitFaults silent;
    silent.silent = true;
    link.unit.setFaults(silent);
    click(w, "ComVerifica");
    runChecking(99);
    EXPECT_TRUE(w->findChild<QTimer*>("TimerVerifica")->isActive());
    runChecking(2);
    EXPECT_FALSE(w->referenceTable().has_value());
    EXPECT_TRUE(text(w, "LabVerifica").contains("Nessuna risposta"));
    EXPECT_TRUE(get<QPushButton>(w, "ComVerifica")->isEnabled());
    EXPECT_FALSE(link.inputStarted());
    // Had the unit entered programming mode unheard, it is sent back to run mode.
    EXPECT_EQ(link.sent.back(), 0xD0u);
    EXPECT_EQ(link.unit.mode(), UnitMode::Run);

    // A unit that refuses programming mode (0xD0 to 0xD1) ends the check at once.
    UnitFaults refusing;
    refusing.refuseModes = true;
    link.unit.setFaults(refusing);
    link.sent.clear();
    click(w, "ComVerifica");
    runChecking(5);
    EXPECT_FALSE(w->findChild<QTimer*>("TimerVerifica")->isActive());
    EXPECT_FALSE(w->referenceTable().has_value());
    EXPECT_TRUE(text(w, "LabVerifica").contains("rifiutato")) << text(w, "LabVerifica");
    EXPECT_EQ(link.sent, (std::vector<uint32_t>{0xD1, 0xD0})); // not a single read
    EXPECT_TRUE(get<QPushButton>(w, "ComVerifica")->isEnabled());
    EXPECT_FALSE(link.inputStarted());
}

// In programming mode the unit streams no revolutions, and its replies would be taken for
// revolution data: the read-back is refused while recording, and a recording that starts
// ends a read-back.
TEST_F(ClosedLoopWindowTest, RecordingAndReadingTheCurveBackExcludeEachOther) {
    ASSERT_NE(w, nullptr);
    click(w, "ComStop");
    run(500);
    const size_t before = w->rows().size();
    ASSERT_GT(before, 0u);
    click(w, "ComVerifica");
    EXPECT_TRUE(text(w, "LabVerifica").contains("Fermare la misura")) << text(w, "LabVerifica");
    EXPECT_FALSE(w->findChild<QTimer*>("TimerVerifica")->isActive());
    EXPECT_EQ(link.sentCount(0xD1), 0);
    EXPECT_EQ(link.unit.mode(), UnitMode::Run);
    run(500);
    EXPECT_GT(w->rows().size(), before); // the recording went on undisturbed
    click(w, "ComStop");

    // Start while the curve is being read: the read-back ends, the unit back in run mode,
    // and the recording gets its revolutions.
    click(w, "ComVerifica");
    runChecking(10);
    ASSERT_TRUE(w->findChild<QTimer*>("TimerVerifica")->isActive());
    EXPECT_EQ(link.unit.mode(), UnitMode::Programming);
    link.sent.clear();
    click(w, "ComStop");
    EXPECT_EQ(caption(w, "ComStop"), "Stop");
    EXPECT_FALSE(w->findChild<QTimer*>("TimerVerifica")->isActive());
    EXPECT_EQ(link.sent, std::vector<uint32_t>{0xD0});
    EXPECT_EQ(link.unit.mode(), UnitMode::Run);
    EXPECT_TRUE(text(w, "LabVerifica").contains("annullata")) << text(w, "LabVerifica");
    EXPECT_FALSE(w->referenceTable().has_value());
    EXPECT_TRUE(get<QPushButton>(w, "ComVerifica")->isEnabled());
    const size_t atStart = w->rows().size();
    run(500);
    EXPECT_GT(w->rows().size(), atStart);
    click(w, "ComStop");
}
