#include "auxiliary/AboutPlacement.h"
#include "auxiliary/ProgressPlacement.h"
#include <gtest/gtest.h>

TEST(ProgressPlacement, LargerThanTheActiveChildGoesAboveAndLeftOfIt) {
    // The half-twip case is worked through the window in about_test.
    const TwipRect r = progressPlacement({100, 200, 1000, 500}, 4800, 1050);
    EXPECT_DOUBLE_EQ(r.Top, 100 + 250 - 525);   // -175
    EXPECT_DOUBLE_EQ(r.Left, 200 + 500 - 2400); // -1700
}

TEST(AboutPlacement, DifferencesTruncatedThenHalvedWithIntegerDivision) {
    // 12601.5 -> 12601 -> 6300; 10800.9 -> 10800 -> 5400
    const AboutOrigin o = aboutPlacement(18001.5, 13500.9, 5400, 2700);
    EXPECT_EQ(o.Left, 6300);
    EXPECT_EQ(o.Top, 5400);
    // A client smaller than the box: -401 \ 2 = -200 (towards zero)
    EXPECT_EQ(aboutPlacement(5000, 2000, 5401, 2700).Left, -200);
    EXPECT_EQ(aboutPlacement(5000, 2000, 5401, 2700).Top, -350);
}
