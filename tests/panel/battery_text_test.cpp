#include "panel/BatteryText.h"
#include <gtest/gtest.h>

using namespace battery_text;

TEST(BatteryText, TimeVoltsAndTheTimeBasePosition) {
    EXPECT_EQ(formatTime(83456, ","), "01:23,45");    // 1 min, 23 s, 456 ms -> 45 hundredths
    EXPECT_EQ(formatTime(59999, "."), "00:59.99");    // one step before the minute
    EXPECT_EQ(formatTime(6000000, ","), "100:00,00"); // minutes do not wrap at 60
    EXPECT_EQ(timeFormatText(",", 0), "mm:ss,cc (minuti, secondi, centesimi)");

    EXPECT_EQ(formatVolts(1234, "."), "12.34");
    EXPECT_EQ(formatVolts(1234, ","), "12,34");
    EXPECT_EQ(formatVolts(5, "."), "0.05");
    EXPECT_EQ(formatVolts(-5, "."), "-0.05");

    // A position read from the settings file is held to the scroll bar's range.
    EXPECT_EQ(clampTimeBase(255), 12);
    EXPECT_EQ(clampTimeBase(-1), 0);
    EXPECT_EQ(clampTimeBase(7), 7);
}
