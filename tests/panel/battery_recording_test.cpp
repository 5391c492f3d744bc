#include "panel/BatteryRecording.h"
#include <gtest/gtest.h>

namespace {

struct Recording : ::testing::Test {
    BatteryRecording rec;
    uint32_t stamp = 0;
    BatterySampleStep add(int value) { return rec.add(value, stamp); }
};

TEST_F(Recording, FirstSampleSetsBothExtremesAndKeepsTheStamp) {
    rec.start();
    EXPECT_EQ(rec.maximum(), 0);
    EXPECT_EQ(rec.minimum(), 100);
    stamp = 40;
    const BatterySampleStep s = add(1234);
    EXPECT_TRUE(s.stored);
    EXPECT_TRUE(s.first);
    EXPECT_TRUE(s.newMaximum);
    EXPECT_TRUE(s.newMinimum);
    EXPECT_TRUE(s.showValue);
    EXPECT_EQ(rec.maximum(), 1234);
    EXPECT_EQ(rec.minimum(), 1234);
    EXPECT_EQ(stamp, 40u); // the first sample takes BatteryStamp as it stands
    EXPECT_EQ(rec.stamp(0), 40u);
    EXPECT_EQ(rec.value(0), 1234);
    EXPECT_EQ(rec.count(), 1);
    EXPECT_EQ(rec.phase(), 1);
}

TEST_F(Recording, LaterSamplesAre26MsApartAndMoveTheExtremes) {
    rec.start();
    add(1250);
    BatterySampleStep s = add(1300);
    EXPECT_FALSE(s.first);
    EXPECT_TRUE(s.newMaximum);
    EXPECT_FALSE(s.newMinimum);
    s = add(1200);
    EXPECT_FALSE(s.newMaximum);
    EXPECT_TRUE(s.newMinimum);
    s = add(1250);
    EXPECT_FALSE(s.newMaximum || s.newMinimum);
    EXPECT_EQ(rec.maximum(), 1300);
    EXPECT_EQ(rec.minimum(), 1200);
    EXPECT_EQ(rec.stamp(1), 26u);
    EXPECT_EQ(rec.stamp(2), 52u);
    EXPECT_EQ(rec.stamp(3), 78u);
    EXPECT_EQ(stamp, 78u);
    EXPECT_EQ(rec.lastIndex(), 3);
    EXPECT_EQ(rec.count(), 4);
}

TEST_F(Recording, ValueShownForTheFirstAndEveryEleventhSample) {
    rec.start();
    std::vector<int> shown;
    for (int i = 0; i < 25; ++i)
        if (add(1200).showValue) shown.push_back(i);
    EXPECT_EQ(shown, (std::vector<int>{0, 11, 22}));
}

TEST_F(Recording, FillsSlot32000ThenStopsByItself) {
    rec.start();
    for (int i = 0; i < BatteryRecording::LastIndex; ++i)
        ASSERT_FALSE(add(1200 + i % 7).full) << i;
    EXPECT_TRUE(rec.measuring());
    EXPECT_EQ(rec.count(), 32000);

    const BatterySampleStep last = add(1500);
    EXPECT_TRUE(last.stored);
    EXPECT_TRUE(last.full);
    EXPECT_FALSE(rec.measuring());
    EXPECT_EQ(rec.lastIndex(), 32000);
    EXPECT_EQ(rec.value(32000), 1500);
    EXPECT_EQ(rec.stamp(32000), 832000u); // 32000 * 26 ms

    // A late sample neither runs past the last slot nor moves the time on.
    const BatterySampleStep late = add(900);
    EXPECT_FALSE(late.stored);
    EXPECT_EQ(stamp, 832000u);
    EXPECT_EQ(rec.lastIndex(), 32000);
    // STOP pressed afterwards finds the recording already ended and keeps slot 32000.
    EXPECT_FALSE(rec.stop());
    EXPECT_EQ(rec.lastIndex(), 32000);
}

TEST_F(Recording, StopKeepsWhatWasStoredAndRefusesLaterSamples) {
    rec.start();
    add(1200);
    add(1210);
    add(1220);
    EXPECT_TRUE(rec.stop());
    EXPECT_FALSE(rec.stop());
    EXPECT_EQ(rec.count(), 2); // the index of the last sample
    EXPECT_FALSE(add(1500).stored);
    EXPECT_EQ(rec.value(2), 1220);
    EXPECT_EQ(rec.lastIndex(), 2);

    // A new recording starts empty with fresh extremes.
    rec.start();
    EXPECT_EQ(rec.lastIndex(), -1);
    EXPECT_EQ(rec.phase(), 0);
    stamp = 0;
    add(1100);
    EXPECT_EQ(rec.maximum(), 1100);
    EXPECT_EQ(rec.minimum(), 1100);
}

} // namespace
