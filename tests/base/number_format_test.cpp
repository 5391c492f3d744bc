#include "base/NumberFormat.h"

#include <gtest/gtest.h>

// Italian: decimal comma, thousands point; English: decimal point, thousands comma. A value
// with its unit in either language is checked where it is shown (volts, speeds).
TEST(NumberFormat, FollowsTheLanguage) {
    EXPECT_EQ(base::number(1234567.5, 1, 0), "1.234.567,5");
    EXPECT_EQ(base::integer(-999, 200), "-999");
    EXPECT_EQ(base::integer(-1000, 200), "-1,000");
    EXPECT_EQ(base::number(-0.001, 2, 0), "0,00");
    EXPECT_EQ(base::number(2.7, -1, 0), "3"); // no decimals below none
}
