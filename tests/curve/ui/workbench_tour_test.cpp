#include "curve_fixture.h"
#include "measure/ui/frmMisAnt.h"
#include "measure/ui/frmMisRot.h"
#include "panel/ui/frmPannelloControllo.h"

using namespace panel;

namespace {

class WorkbenchTest : public CurveWindowTest {
protected:
    WorkbenchTest() { link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 3000}); }
    void press(QWidget* w, const char* name) {
        QTest::mouseClick(get<QPushButton>(w, name), Qt::LeftButton);
    }
    // 20 ms steps of unit time, the frame's poller draining after each; counts the whole
    // revolutions the unit sent (a 0x80 and, later, its 0xE0).
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

    bool burstOpen_ = false;
};

} // namespace

// The README's tour through the menus (its battery step aside), each job finding the unit free
// once the one before gave it back, the earlier windows left open; a job started while
// another window holds the unit says which window and what to press there.
TEST_F(WorkbenchTest, TheTourRecordsRowsWithTheEarlierWindowsLeftOpen) {
    // 1. The control panel's EEPROM access, given back (the panel's own tests read its monitor).
    auto* panel = openFromMenu<frmPannelloControllo>("mnuPannelloControllo");
    press(panel, "ComEEPROM");
    run(20);
    press(panel, "ComEEPROM");
    run(20);

    // 2. A curve editor in programming mode: the rotation window's Start records nothing.
    frmProgCurva* curve = openFromMenu<frmProgCurva>("mnuProgCurva");
    drawCurveOne(curve);
    press(curve, "ComProg");
    run(20);
    ASSERT_EQ(link.unit.mode(), UnitMode::Programming);
    auto* rotation = openFromMenu<frmMisRot>("mnuMisRot");
    press(rotation, "ComAnticipo");
    auto* advance = main->findChild<frmMisAnt*>();
    ASSERT_NE(advance, nullptr);
    press(rotation, "ComStop");
    EXPECT_EQ(get<QPushButton>(rotation, "ComStop")->text(), "Start");
    EXPECT_EQ(lastWarning(), "L'unità è in modo programmazione (finestra Curva "
                             "Anticipo): premere PROG OFF in quella finestra");
    run(200);
    EXPECT_EQ(rotation->measurement().rows.size(), 0u);
    EXPECT_EQ(link.unit.mode(), UnitMode::Programming);

    // 3. Closing the editor in programming mode gives the unit back; Start then records one
    // row per revolution in both measurement windows, and PROG ON in a new editor meanwhile
    // says so and stays off.
    curve->subWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(link.sent.back(), 0xD0u);
    EXPECT_EQ(link.unit.mode(), UnitMode::Run);
    press(rotation, "ComStop");
    int revolutions = run(500);
    auto* other = openFromMenu<frmProgCurva>("mnuProgCurva");
    drawCurveOne(other);
    press(other, "ComProg");
    EXPECT_EQ(get<QPushButton>(other, "ComProg")->text(), "PROG ON");
    EXPECT_NE(lastWarning().find("(finestra Misura "), std::string::npos) << lastWarning();
    revolutions += run(500);
    press(rotation, "ComStop");
    EXPECT_GE(revolutions, 49);
    EXPECT_EQ(rotation->measurement().rows.size(), static_cast<size_t>(revolutions));
    EXPECT_EQ(advance->rows().size(), static_cast<size_t>(revolutions));
}
