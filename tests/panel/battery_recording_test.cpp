#include "panel/BatteryRecording.h"
#include <gtest/gtest.h>

using namespace panel;

namespace {

struct Recording : ::testing::Test {
    BatteryRecording rec;
    uint32_t stamp = 0;
    BatterySampleStep add(int value) { return rec.add(value, stamp); }
};

TEST_F(Recording, ExtremesAndStampsMoveUntilStopAndANewRecordingStartsEmpty) {
    rec.start();
    stamp = 40; // the first sample takes BatteryStamp as it stands
    BatterySampleStep s = add(1250);
    EXPECT_TRUE(s.stored && s.first && s.newMaximum && s.newMinimum);
    EXPECT_EQ(rec.maximum(), 1250);
    EXPECT_EQ(rec.minimum(), 1250);
    EXPECT_EQ(rec.stamp(0), 40u);
    s = add(1300);
    EXPECT_TRUE(!s.first && s.newMaximum && !s.newMinimum);
    s = add(1200);
    EXPECT_TRUE(!s.newMaximum && s.newMinimum);
    s = add(1250);
    EXPECT_FALSE(s.newMaximum || s.newMinimum);
    EXPECT_EQ(rec.maximum(), 1300);
    EXPECT_EQ(rec.minimum(), 1200);
    EXPECT_EQ(rec.stamp(1), 66u);
    EXPECT_EQ(rec.stamp(3), 118u);
    EXPECT_EQ(stamp, 118u);

    // Stop keeps what was stored.
    EXPECT_TRUE(rec.stop());
    EXPECT_FALSE(rec.stop());
    EXPECT_EQ(rec.count(), 3); // the index of the last sample
    EXPECT_FALSE(add(1500).stored);
    EXPECT_EQ(rec.value(3), 1250);
    EXPECT_EQ(rec.lastIndex(), 3);

    rec.start();
    EXPECT_EQ(rec.lastIndex(), -1);
    EXPECT_TRUE(rec.stop());
    EXPECT_EQ(rec.count(), 0); // stopped before a sample came
    rec.start();
    add(1100);
    EXPECT_EQ(rec.maximum(), 1100);
    EXPECT_EQ(rec.minimum(), 1100);
}

TEST_F(Recording, ShowsEveryEleventhValueFillsSlot32000ThenStopsByItself) {
    rec.start();
    std::vector<int> shown;
    for (int i = 0; i < BatteryRecording::LastIndex; ++i) {
        const BatterySampleStep s = add(1200 + i % 7);
        ASSERT_FALSE(s.full) << i;
        if (s.showValue && i < 25) shown.push_back(i);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 11, 22}));
    EXPECT_TRUE(rec.measuring());

    const BatterySampleStep last = add(1500);
    EXPECT_TRUE(last.stored && last.full);
    EXPECT_FALSE(rec.measuring());
    EXPECT_EQ(rec.value(32000), 1500);
    // A late sample neither runs past the last slot nor moves the time on.
    EXPECT_FALSE(add(900).stored);
    EXPECT_EQ(stamp, 832000u); // 32000 * 26 ms
    EXPECT_EQ(rec.lastIndex(), 32000);
}

} // namespace
