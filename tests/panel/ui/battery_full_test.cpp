#include "battery_SimUnitFixture.h"
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

class BatteryFullTest : public BatteryWindowFixture {};

TEST_F(BatteryFullTest, Slot32000EndsTheRecordingWithOneStop) {
    setBattery(13.0, 1.2, 0.02);
    open();
    child<QScrollBar>("HScrollTempoDiv")->setValue(12); // 1 minute per division
    QPushButton* start = child<QPushButton>("ComStart");
    QTest::mouseClick(start, Qt::LeftButton);
    t.timer.StartTimer1();

    run(32000 * 26 + 13); // the unit's samples 1 .. 32000 (indices 0 .. 31999)
    ASSERT_EQ(w->recording().lastIndex(), 31999);
    EXPECT_TRUE(w->recording().measuring());
    EXPECT_EQ(sys.sentCount(0xD0), 0);

    run(100); // sample 32001 fills slot 32000; the rest never reaches the window
    const BatteryRecording& rec = w->recording();
    EXPECT_FALSE(rec.measuring());
    EXPECT_EQ(rec.lastIndex(), 32000);
    EXPECT_EQ(rec.stamp(32000), 832000u);
    EXPECT_EQ(decoder.BatterySamples, 32001);
    EXPECT_EQ(sys.sentCount(0xD0), 1);
    EXPECT_FALSE(sys.inputStarted());
    EXPECT_FALSE(t.timer.running());
    EXPECT_EQ(start->text(), "STOP");
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(child<QScrollBar>("HScrollTempoMem")->maximum(), 32000);

    w->grab().save("/tmp/frmMisBatteria.png");

    // STOP now only turns the button back: the unit has been told already.
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_EQ(start->text(), "START");
    EXPECT_EQ(sys.sentCount(0xD0), 1);
    EXPECT_EQ(rec.lastIndex(), 32000);
}

} // namespace
