// The workbench as one program: jobs done one after the other with their windows left
// open, each finding the unit free once the one before gave it back.
#include "curve_fixture.h"
#include "measure/ui/frmMisAnt.h"
#include "measure/ui/frmMisRot.h"
#include "panel/ui/frmPannelloControllo.h"
#include <QPlainTextEdit>

using namespace base;
using namespace protocol;
using namespace unit;
using namespace panel;
using namespace curve;
using namespace measure;

namespace {

class WorkbenchTest : public CurveWindowTest {
protected:
    WorkbenchTest() { link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 3000}); }
    void press(QWidget* w, const char* name) {
        QTest::mouseClick(get<QPushButton>(w, name), Qt::LeftButton);
    }
    // Unit time passes in 20 ms steps, the main window's poller draining after each. Counts
    // the whole revolutions the unit sent (a 0x80 and, later, its 0xE0).
    int run(int ms) {
        int whole = 0;
        for (int done = 0; done < ms; done += 20) {
            link.unit.advance(20'000);
            for (const uint32_t m : link.unit.takeOutput()) {
                if ((m & 0xF0) == 0x80) burstOpen_ = true;
                if ((m & 0xF0) == 0xE0 && std::exchange(burstOpen_, false)) ++whole;
                link.inject(m);
            }
            unitTime.us += 20'000;
            drainRing(mainPoller(), port);
        }
        return whole;
    }
    size_t rotationRows(frmMisRot* w) const { return w->measurement().rows.size(); }

    bool burstOpen_ = false;
};

} // namespace

// The README's tour through the menus (its battery step aside), each step's windows left open.
TEST_F(WorkbenchTest, TheTourRecordsRowsWithTheEarlierWindowsLeftOpen) {
    // 1. The control panel's EEPROM access: the unit answers in the monitor; then given back.
    auto* panel = openFromMenu<frmPannelloControllo>("mnuPannelloControllo");
    press(panel, "ComEEPROM");
    run(20);
    panel->flushMonitor();
    EXPECT_TRUE(get<QPlainTextEdit>(panel, "Text1")->toPlainText().contains("EEPROM DATI/PROG"));
    press(panel, "ComEEPROM");
    run(20);
    EXPECT_EQ(link.unit.mode(), UnitMode::Run);

    // 2. A curve editor opened and left idle: the windows before it expect nothing and take
    // nothing.
    openFromMenu<frmProgCurva>("mnuProgCurva");

    // 3. The rotation measurement with the advance window: one row per revolution in both.
    auto* rotation = openFromMenu<frmMisRot>("mnuMisRot");
    press(rotation, "ComAnticipo");
    auto* advance = main->findChild<frmMisAnt*>();
    ASSERT_NE(advance, nullptr);
    press(rotation, "ComStop");
    const int revolutions = run(1000);
    press(rotation, "ComStop");
    EXPECT_GE(revolutions, 49);
    EXPECT_EQ(rotationRows(rotation), static_cast<size_t>(revolutions));
    EXPECT_EQ(advance->rows().size(), static_cast<size_t>(revolutions));
    EXPECT_TRUE(t.notifier.warnings.empty()) << lastWarning();
}

// A recording cannot start while another window holds the unit: it says which window and
// what to press there, and records nothing.
TEST_F(WorkbenchTest, StartWhileAnotherWindowHoldsTheUnitSaysWhereToGiveItBack) {
    frmProgCurva* curve = openFromMenu<frmProgCurva>("mnuProgCurva");
    drawCurveOne(curve);
    press(curve, "ComProg");
    run(20);
    ASSERT_EQ(link.unit.mode(), UnitMode::Programming);
    auto* rotation = openFromMenu<frmMisRot>("mnuMisRot");
    press(rotation, "ComStop");
    EXPECT_EQ(get<QPushButton>(rotation, "ComStop")->text(), "Start");
    EXPECT_EQ(lastWarning(), "L'unità è in modo programmazione (finestra Curva "
                             "Anticipo): premere PROG OFF in quella finestra");
    run(200);
    EXPECT_EQ(rotationRows(rotation), 0u);
    EXPECT_EQ(link.unit.mode(), UnitMode::Programming);

    // Closing the editor in programming mode gives the unit back; Start then records.
    curve->subWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(link.sent.back(), 0xD0u);
    EXPECT_EQ(link.unit.mode(), UnitMode::Run);
    press(rotation, "ComStop");
    EXPECT_GE(run(200), 9);
    EXPECT_GE(rotationRows(rotation), 9u);

    // The other way round: PROG ON while recording says so and stays off.
    auto* other = openFromMenu<frmProgCurva>("mnuProgCurva");
    drawCurveOne(other);
    press(other, "ComProg");
    EXPECT_EQ(get<QPushButton>(other, "ComProg")->text(), "PROG ON");
    EXPECT_NE(lastWarning().find("Misura Rotazione"), std::string::npos) << lastWarning();
}
