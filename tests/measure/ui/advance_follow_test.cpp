#include "measure_fixture.h"

TEST_F(MeasureWindowTest, TheRotationWindowDrivesTheAdvanceWindowsStartStopAndNewMeasurement) {
    link.unit.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 6000});
    auto* rotation = openFromMenu<frmMisRot>("mnuMisRot");
    ASSERT_NE(rotation, nullptr);
    click(rotation, "ComAnticipo");
    auto* advance = main->findChild<frmMisAnt*>();
    ASSERT_NE(advance, nullptr);

    // Its own ComStop does nothing while the rotation window is open.
    click(advance, "ComStop");
    EXPECT_EQ(caption(advance, "ComStop"), "Start");
    EXPECT_FALSE(link.inputStarted());

    click(rotation, "ComStop");
    EXPECT_EQ(caption(advance, "ComStop"), "Stop");
    run(500); // 6000 rpm: 50 revolutions

    // Suspended here, the rotation window still records every revolution.
    const RowStore& all = rotation->measurement().rows;
    click(advance, "ComSospendi");
    const size_t before = advance->rows().size();
    const size_t suspendedAt = all.size();
    run(500);
    EXPECT_EQ(advance->rows().size(), before);
    const size_t suspended = all.size() - suspendedAt;
    EXPECT_GE(suspended, 45u);
    click(advance, "ComSospendi");
    run(200);
    click(rotation, "ComStop");
    EXPECT_EQ(caption(advance, "ComStop"), "Start");

    // The advance window's rows are the rotation window's, minus the suspended stretch.
    const RowSource& kept = advance->rows();
    ASSERT_GE(before, 45u);
    EXPECT_EQ(kept.size(), all.size() - suspended);
    EXPECT_EQ(kept.row(kept.size() - 1), all.row(all.size() - 1));
    EXPECT_EQ(rows(advance, "List1").size(), static_cast<qsizetype>(kept.size()));

    // A new measurement of the rotation window empties this one.
    click(rotation, "ComNuovaMisura");
    EXPECT_TRUE(rows(advance, "List1").isEmpty() && rows(advance, "List2").isEmpty());
    EXPECT_EQ(advance->rows().size(), 0u);
}
