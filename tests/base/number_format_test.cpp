#include "base/NumberFormat.h"

#include <gtest/gtest.h>

// Italian: decimal comma, thousands point; English: decimal point, thousands comma.
TEST(NumberFormat, FollowsTheLanguage) {
    EXPECT_EQ(base::withUnit(base::number(12.594, 2, 0), "V"), "12,59 V");
    EXPECT_EQ(base::withUnit(base::number(12.594, 2, 200), "V"), "12.59 V");
    EXPECT_EQ(base::withUnit(base::integer(1500, 0), base::rpmUnit(0)), "1.500 giri/min");
    EXPECT_EQ(base::withUnit(base::integer(1500, 200), base::rpmUnit(200)), "1,500 rpm");
    EXPECT_EQ(base::number(1234567.5, 1, 0), "1.234.567,5");
    EXPECT_EQ(base::integer(-999, 200), "-999");
    EXPECT_EQ(base::integer(-1000, 200), "-1,000");
    EXPECT_EQ(base::number(-0.001, 2, 0), "0,00");
}
