#include "rotation_fixture.h"

// The fine bar comes back to its middle, the speed limits keep low below high, and all are
// kept for next time.
TEST_F(RotationWindowTest, GraphBarsSpeedLimitsMemoryPositionAndTheExtendedTable) {
    openFromMenu();
    type(Qt::Key_G);
    EXPECT_TRUE(get<QWidget>("Picture1")->isVisible());
    QScrollBar* coarse = scroll("HScrollTempoDiv");
    QScrollBar* fine = scroll("HScrollTempoDivFine");
    coarse->setValue(16);
    fine->setValue(400);
    coarse->setValue(0); // a new coarse value puts the fine bar back in the middle
    EXPECT_EQ(fine->value(), 200);

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
    scroll("VScroll3")->setValue(4);
    scroll("VScroll4")->setValue(7);
    EXPECT_EQ(label("LabVScroll4"), "7");

    main->action("mnuChiudi")->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    openFromMenu();
    EXPECT_EQ(scroll("HScrollTempoDiv")->value(), 0);
    EXPECT_EQ(scroll("VScroll2")->value(), 1);
    EXPECT_EQ(scroll("VScroll3")->value(), 4);

    // Scan auto, the memory position after Stop and the extended table.
    click("ComDatiGrafico");
    scroll("HScrollTempoDiv")->setValue(3); // 4 ms/div: a 20 ms revolution is 5 divisions
    click("ComSincTc");
    click("ComStop");
    run(1000);
    settle();
    const RotationGraph& g = w->graph();
    click("ComStop");
    // After Stop the graph is drawn again from row 1.
    EXPECT_EQ(g.memoryPosition, 1u);
    EXPECT_EQ(g.sweepX, g.rightEdge);
    EXPECT_EQ(scroll("HScrollTempoMem")->maximum(), 50);
    scroll("HScrollTempoMem")->setValue(7);
    EXPECT_EQ(g.memoryPosition, 7u);
    click("ComDatiGrafico");
    EXPECT_TRUE(get<QAbstractItemView>("List1")->isVisible());

    click("ComDatiEst"); // the extended table: a line per row
    auto* est = get<QAbstractItemView>("ListEst");
    EXPECT_TRUE(est->isVisible());
    EXPECT_EQ(est->model()->rowCount(), 50);
}

TEST_F(RotationWindowTest, InTheGraphViewRow32000IsFollowedByRow1AndLostInputIsCounted) {
    link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 10000});
    openFromMenu();
    click("ComDatiGrafico");
    record(32'002 * 6); // 6 ms a revolution
    const RowStore& rows = w->measurement().rows;
    ASSERT_GE(rows.size(), 32'001u);
    EXPECT_EQ(rows.row(31'999).substr(0, 6), " 32000");
    EXPECT_EQ(rows.row(32'000).substr(0, 6), "     1");
    // Every row is kept and can be looked at.
    EXPECT_EQ(scroll("HScrollTempoMem")->maximum(), static_cast<int>(rows.size()));

    // Nobody drains the input for 40 s: the ring keeps 31,999 messages and the window says
    // how many were lost.
    EXPECT_EQ(label("LabPersi"), "");
    click("ComStop");
    const uint64_t sentBefore = link.unit.sentCount();
    link.pump(40'000'000);
    const uint64_t sent = link.unit.sentCount() - sentBefore;
    ASSERT_GT(sent, 31999u);
    drainRing(mainPoller(), port);
    settle();
    EXPECT_EQ(label("LabPersi"), QString("Messaggi persi: %1").arg(sent - 31999));
    click("ComStop");
}
