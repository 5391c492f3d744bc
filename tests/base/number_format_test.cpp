#include "base/NumberFormat.h"

#include <gtest/gtest.h>

// Italian: decimal comma, thousands point; English: decimal point, thousands comma.
TEST(NumberFormat, FollowsTheLanguage) {
    EXPECT_EQ(numfmt::withUnit(numfmt::number(12.594, 2, 0), "V"), "12,59 V");
    EXPECT_EQ(numfmt::withUnit(numfmt::number(12.594, 2, 200), "V"), "12.59 V");
    EXPECT_EQ(numfmt::withUnit(numfmt::integer(1500, 0), numfmt::rpmUnit(0)), "1.500 giri/min");
    EXPECT_EQ(numfmt::withUnit(numfmt::integer(1500, 200), numfmt::rpmUnit(200)), "1,500 rpm");
    EXPECT_EQ(numfmt::number(1234567.5, 1, 0), "1.234.567,5");
    EXPECT_EQ(numfmt::integer(-999, 200), "-999");
    EXPECT_EQ(numfmt::integer(-1000, 200), "-1,000");
    EXPECT_EQ(numfmt::number(-0.001, 2, 0), "0,00");
}
