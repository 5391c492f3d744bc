#include "protocol/MeasurementRow.h"

#include <gtest/gtest.h>
#include <string>

using namespace protocol;

TEST(MeasurementRowFormat, TicksSpeedNumbersAndElapsedTime) {
    EXPECT_EQ(ticksToMicros(1), 2);            // 1.6
    EXPECT_EQ(ticksToMicros(2), 3);            // 3.2
    EXPECT_EQ(ticksToMicros(-38), -61);        // -60.8
    EXPECT_EQ(ticksToMicros(655358), 1048573); // 1,048,572.8
    EXPECT_EQ(rpmFromTicks(0), 0);
    EXPECT_EQ(rpmFromTicks(12501), 2999); // 20,002 us
    EXPECT_EQ(rpmFromTicks(375), 100000); // 600 us

    EXPECT_EQ(formatMillisGrouped(1048573), "1,048.573");
    EXPECT_EQ(formatMillis(1048573), "1048.573");
    EXPECT_EQ(formatSignedMillis(0), "0.000");
    EXPECT_EQ(formatSignedMillis(61), "+0.061");
    EXPECT_EQ(formatSignedMillis(-838859), "-838.859");
    EXPECT_EQ(formatGrouped(999), "999");
    EXPECT_EQ(formatGrouped(1234567), "1,234,567");

    EXPECT_EQ(elapsedText(0), "00:00:000,000");
    EXPECT_EQ(elapsedText(83'456'789), "01:23:456,789");
    EXPECT_EQ(elapsedText(3'723'000'001), "02:03:000,001"); // minutes modulo 60
    // Past the 32-bit range (35 min 47 s) the time goes on.
    EXPECT_EQ(elapsedText(2'148'483'648), "35:48:483,648");
}

TEST(MeasurementRowLayout, FieldsLandInTheirColumnsValuesThatDoNotFitAreRefused) {
    RowFields f;
    f.rowNo = 123456;
    f.RotText = "12,345";
    f.TcText = "9,999.999";
    f.TbText = "838.859";
    f.DTbText = "-838.859";
    f.TaText = "209.714";
    f.TibText = "123.456";
    f.TssText = "2.345";
    f.A1 = 0x81;
    f.A2 = 0x0A;
    f.elapsedUs = 61'000'001;
    std::string row;
    ASSERT_TRUE(composeRow(f, row));
    EXPECT_EQ(row, "123456 12,345 9,999.999   838.859 -838.859 209.714   123.456   2.345 "
                   "1000 0001 0A 01:01:000,001");

    // Values that do not fit are refused.
    f = RowFields{};
    f.rowNo = 1'000'000;
    EXPECT_FALSE(composeRow(f, row));
    f.rowNo = 999'999;
    f.RotText = "100,000";
    EXPECT_FALSE(composeRow(f, row));
    f.RotText = "";
    f.A2 = 256;
    EXPECT_FALSE(composeRow(f, row));
    f.A2 = 0;
    EXPECT_TRUE(composeRow(f, row));
    EXPECT_EQ(row.substr(0, 14), "999999        ");
}
