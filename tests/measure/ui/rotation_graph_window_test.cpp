#include "measure/GraphTimeBase.h"
#include "rotation_fixture.h"

using namespace base;
using namespace unit;
using namespace measure;

TEST_F(RotationWindowTest, TimeBaseBarsAndSpeedLimitsFollowTheirRules) {
    openFromMenu();
    type(Qt::Key_G);
    EXPECT_EQ(caption("ComDatiGrafico"), "Dati");
    EXPECT_TRUE(get<QWidget>("Picture1")->isVisible());
    EXPECT_FALSE(get<QAbstractItemView>("List1")->isVisible());
    EXPECT_TRUE(button("ComScanAuto")->isEnabled());

    QScrollBar* coarse = scroll("HScrollTempoDiv");
    QScrollBar* fine = scroll("HScrollTempoDivFine");
    coarse->setValue(16);
    EXPECT_EQ(label("LabTempoDiv"), "5 s/div");
    EXPECT_EQ(t.app.RotTimeDivPos, 16); // kept in the settings
    fine->setValue(400);
    EXPECT_EQ(label("LabTempoDivFine"), "5.000,800 ms/div");
    coarse->setValue(0); // a new coarse value puts the fine bar back in the middle
    EXPECT_EQ(fine->value(), 200);
    EXPECT_EQ(label("LabTempoDivFine"), "1,000 ms/div");

    QScrollBar* low = scroll("VScroll1");
    QScrollBar* high = scroll("VScroll2");
    high->setValue(3);
    low->setValue(5);
    EXPECT_EQ(low->value(), 2);
    high->setValue(1);
    EXPECT_EQ(high->value(), 3);
    low->setValue(0);
    high->setValue(1);
    EXPECT_EQ(high->value(), 1);
    low->setValue(1);
    EXPECT_EQ(low->value(), 0);
    EXPECT_EQ(t.app.RotVScroll1, 0);
    EXPECT_EQ(t.app.RotVScroll2, 1);
    scroll("VScroll3")->setValue(4);
    scroll("VScroll4")->setValue(7);
    EXPECT_EQ(t.app.RotVScroll3, 4);
    EXPECT_EQ(t.app.RotVScroll4, 7);
    EXPECT_EQ(label("LabVScroll4"), "7");

    // The values come back when the window opens again.
    main->action("mnuChiudi")->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    openFromMenu();
    EXPECT_EQ(scroll("HScrollTempoDiv")->value(), 0);
    EXPECT_EQ(scroll("VScroll2")->value(), 1);
    EXPECT_EQ(scroll("VScroll3")->value(), 4);
}

TEST_F(RotationWindowTest, GraphViewScanAutoAndMemoryPosition) {
    openFromMenu();
    click("ComDatiGrafico");
    scroll("HScrollTempoDiv")->setValue(3); // 4 ms/div: a 20 ms revolution is 5 divisions
    click("ComSincTc");
    EXPECT_EQ(caption("ComSincTc"), "Sinc Ib");
    click("ComStop");
    run(1000);
    settle();
    const RotationGraph& g = w->graph();
    click("ComStop");
    // After Stop the graph is drawn again from row 1.
    EXPECT_EQ(g.memoryPosition, 1u);
    EXPECT_EQ(g.sweepX, g.rightEdge);
    EXPECT_EQ(scroll("HScrollTempoMem")->maximum(), 50);

    click("ComScanAuto");
    EXPECT_EQ(caption("ComScanAuto"), "Normale");
    EXPECT_DOUBLE_EQ(g.currentTimeBaseUs, 2000.0); // one revolution fills ten divisions

    scroll("HScrollTempoMem")->setValue(7);
    EXPECT_EQ(g.memoryPosition, 7u);
    EXPECT_EQ(label("LabContRighe"), "7");
    EXPECT_EQ(label("LabTmpMis"), "00:00:140,000");

    click("ComDatiGrafico");
    EXPECT_EQ(caption("ComDatiGrafico"), "&Grafico");
    EXPECT_FALSE(button("ComScanAuto")->isEnabled());
    EXPECT_TRUE(get<QAbstractItemView>("List1")->isVisible());
}

TEST_F(RotationWindowTest, InTheGraphViewRow32000IsFollowedByRow1) {
    link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 10000});
    openFromMenu();
    click("ComDatiGrafico");
    click("ComStop");
    run(32'002 * 6); // 6 ms a revolution
    click("ComStop");
    const RowStore& rows = w->measurement().rows;
    ASSERT_GE(rows.size(), 32'001u);
    EXPECT_EQ(rows.row(31'999).substr(0, 6), " 32000");
    EXPECT_EQ(rows.row(32'000).substr(0, 6), "     1");
    // Every row is kept and can be looked at.
    EXPECT_EQ(scroll("HScrollTempoMem")->maximum(), static_cast<int>(rows.size()));
}

TEST_F(RotationWindowTest, ExtendedTableOnlyWhileStopped) {
    openFromMenu();
    click("ComStop");
    run(60);
    click("ComDatiEst"); // refused while acquiring
    EXPECT_EQ(caption("ComDatiEst"), "DatiEst");
    click("ComStop");
    click("ComDatiEst");
    EXPECT_EQ(caption("ComDatiEst"), "Dati");
    auto* est = get<QAbstractItemView>("ListEst");
    EXPECT_TRUE(est->isVisible());
    EXPECT_FALSE(get<QAbstractItemView>("List1")->isVisible());
    EXPECT_EQ(est->model()->rowCount(), 3);
    click("ComDatiEst");
    EXPECT_EQ(caption("ComDatiEst"), "DatiEst");
    EXPECT_TRUE(get<QAbstractItemView>("List1")->isVisible());
}
