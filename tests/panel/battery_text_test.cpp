#include "panel/BatteryText.h"
#include <gtest/gtest.h>

using namespace panel;

// Italian (0) writes a decimal comma and a thousands point, English (200) the other way.
TEST(BatteryText, TimeVoltsAndSpeedInTheLanguageAndTheTimeBasePosition) {
    EXPECT_EQ(formatTime(83456, 0), "01:23,45");    // 1 min, 23 s, 456 ms -> 45 hundredths
    EXPECT_EQ(formatTime(59999, 200), "00:59.99");  // one step before the minute
    EXPECT_EQ(formatTime(6000000, 0), "100:00,00"); // minutes do not wrap at 60
    EXPECT_EQ(timeFormatText(0), "mm:ss,cc (minuti, secondi, centesimi)");
    EXPECT_EQ(timeFormatText(200), "mm:ss.cc (minutes, seconds, hundredths)");

    EXPECT_EQ(formatVolts(1259, 0), "12,59 V");
    EXPECT_EQ(formatVolts(1259, 200), "12.59 V");
    EXPECT_EQ(formatVolts(5, 200), "0.05 V");
    EXPECT_EQ(formatVolts(-5, 0), "-0,05 V");
    EXPECT_EQ(revolutionsText("  3,000", 0), "3.000 giri/min");
    EXPECT_EQ(revolutionsText("12,500", 200), "12,500 rpm");
    EXPECT_EQ(revolutionsText("9", 0), "9 giri/min");

    // A position read from the settings file is held to the scroll bar's range.
    EXPECT_EQ(clampTimeBase(255), 12);
    EXPECT_EQ(clampTimeBase(-1), 0);
    EXPECT_EQ(clampTimeBase(7), 7);
}
