#include "auxiliary/AboutPlacement.h"
#include "auxiliary/ProgressPlacement.h"
#include <gtest/gtest.h>

TEST(ProgressPlacement, CentredOverTheActiveChildToTheHalfTwip) {
    // Child at Top 750, Left 1500, 9015 x 6765 twips; own window 4800 x 1050.
    const TwipRect r = progressPlacement({750, 1500, 9015, 6765}, 4800, 1050);
    EXPECT_DOUBLE_EQ(r.Top, 750 + 3382.5 - 525);    // 3607.5
    EXPECT_DOUBLE_EQ(r.Left, 1500 + 4507.5 - 2400); // 3607.5
    EXPECT_DOUBLE_EQ(r.Width, 4800);
    EXPECT_DOUBLE_EQ(r.Height, 1050);

    // Odd own size as well: the two halves add up to a whole twip again.
    const TwipRect s = progressPlacement({0, 0, 3001, 2001}, 1001, 501);
    EXPECT_DOUBLE_EQ(s.Top, 1000.5 - 250.5);  // 750
    EXPECT_DOUBLE_EQ(s.Left, 1500.5 - 500.5); // 1000
}

TEST(ProgressPlacement, LargerThanTheChildGoesAboveAndLeftOfIt) {
    const TwipRect r = progressPlacement({100, 200, 1000, 500}, 4800, 1050);
    EXPECT_DOUBLE_EQ(r.Top, 100 + 250 - 525);   // -175
    EXPECT_DOUBLE_EQ(r.Left, 200 + 500 - 2400); // -1700
}

TEST(AboutPlacement, DifferencesTruncatedThenHalvedWithIntegerDivision) {
    AboutOrigin o = aboutPlacement(18000, 13500, 5400, 2700);
    EXPECT_EQ(o.Top, 5400);
    EXPECT_EQ(o.Left, 6300);
    // 12601.5 -> 12601 -> 6300; 10800.9 -> 10800 -> 5400
    o = aboutPlacement(18001.5, 13500.9, 5400, 2700);
    EXPECT_EQ(o.Left, 6300);
    EXPECT_EQ(o.Top, 5400);
    // An odd difference loses its half: 12601 \ 2 = 6300
    EXPECT_EQ(aboutPlacement(18001, 0, 5400, 0).Left, 6300);
    // A client smaller than the box: -401 \ 2 = -200 (towards zero)
    EXPECT_EQ(aboutPlacement(5000, 2000, 5401, 2700).Left, -200);
    EXPECT_EQ(aboutPlacement(5000, 2000, 5401, 2700).Top, -350);
}
