#include "curve/CurveModel.h"
#include "curve/UnitTableListing.h"
#include <gtest/gtest.h>
#include <tuple>

using namespace curve;

namespace {

// A point at rpm and degrees: x = (rpm - 500) x 1.2 twips, y = degrees x 120 twips.
Point at(int rpm, double deg) {
    return {(rpm - 500) * 1.2, deg * 120};
}

Curve curveOf(std::initializer_list<Point> pts) {
    Curve c;
    int i = 0;
    for (const Point& p : pts)
        c.points[static_cast<size_t>(i++)] = p;
    c.CurveLastPoint = i - 1;
    BuildCurveTable(c);
    return c;
}

bool flag(const Curve& c, int entry) {
    return (c.CurveTable[static_cast<size_t>((entry - 12) / 8)] >> ((entry - 12) % 8)) & 1;
}

} // namespace

TEST(CurveTable, RpmToTableIndex) {
    EXPECT_EQ(RpmToTableIndex(500), 12);
    EXPECT_EQ(RpmToTableIndex(9900), 106);
    EXPECT_EQ(RpmToTableIndex(10000), 107);
    EXPECT_EQ(RpmToTableIndex(649.f), 13);  // 149 \ 100
    EXPECT_EQ(RpmToTableIndex(600.5f), 13); // 100.5 rounds to the even 100
}

TEST(CurveTable, CountsAboveNineBitsAreZeroAndNineBitCountsCarryTheirFlag) {
    // 30 degrees from 3,000 to 6,000 rpm (t = 1562500 / rpm), then down to 20 at 9,900.
    const Curve c = curveOf({at(3000, 30), at(6000, 30), at(9900, 20)});
    EXPECT_EQ(c.CurveTable[37], 0);         // 3,000 rpm: 520.8
    EXPECT_EQ(c.CurveTable[38], 504 - 256); // 3,100 rpm: 504.0
    EXPECT_TRUE(flag(c, 38));
    EXPECT_FALSE(flag(c, 106)); // 9,900 rpm at 20 degrees: 105.2
    EXPECT_EQ(tableCount(c.CurveTable, 38), 504);
    EXPECT_EQ(tableCount(c.CurveTable, 37), 0);
    EXPECT_NEAR(countAdvance(260, 6000), 29.95, 0.01);
    // Entries outside the curve stay 0.
    EXPECT_EQ(c.CurveTable[36], 0);
    EXPECT_EQ(c.CurveTable[107], 0);
    Curve again = c; // there is no segment before the first point
    SegmentToTable(again, 0);
    EXPECT_EQ(again.CurveTable, c.CurveTable);
    EXPECT_TRUE(unitTableHeading(200).starts_with("Address Value Hex")); // the listing in English
}

// Flat segments from rpm to rpm + 100 at deg degrees: t = deg x 1,000,000 / (6 x rpm x 3.2).
TEST(CurveTable, CountsAtTheLimitsOfEightAndNineBitsAndExactTies) {
    const std::tuple<int, double, int, bool> cases[] = {
        {500, 4, 161, true},       // 416.7 -> 417 = 256 + 161, in the first entry (12)
        {2500, 12.25, 255, false}, // 255.2: the largest count without the flag
        {2500, 12.3, 0, true},     // 256.25 -> 256
        {5000, 49.05, 255, true},  // 510.9 -> 511, the largest count kept
        {5000, 49.1, 0, false},    // 511.46: above 511, stored as 0
        {2500, 3, 62, false},      // 62.5 exactly: to the even 62
        {2500, 9, 188, false},     // 187.5 exactly: to the even 188
        {2500, 21, 182, true},     // 437.5 exactly: 438 = 256 + 182
    };
    for (const auto& [rpm, deg, low, flagged] : cases) {
        const Curve curve = curveOf({at(rpm, deg), at(rpm + 100, deg)});
        const int entry = RpmToTableIndex(static_cast<float>(rpm));
        EXPECT_EQ(curve.CurveTable[static_cast<size_t>(entry)], low) << rpm << " " << deg;
        EXPECT_EQ(flag(curve, entry), flagged) << rpm << " " << deg;
    }
}

TEST(CurveTable, AStepDownClearsTheFlagAndANegativeAdvanceIsZero) {
    // 30 degrees up to 6,000 rpm, then straight down to 10: 86.8 -> 87 at 6,000, no flag
    // (a flag left set would make it 343 counts, 39.5 degrees).
    const Curve c = curveOf({at(3000, 30), at(6000, 30), at(6000, 10)});
    EXPECT_EQ(c.CurveTable[67], 87);
    EXPECT_FALSE(flag(c, 67));
    EXPECT_EQ(c.CurveTable[6], 0x7F); // 5,300..5,900 rpm keep theirs
    // A vertical first segment writes only its end point.
    const Curve v = curveOf({at(6000, 10), at(6000, 30)});
    EXPECT_EQ(v.CurveTable[67], 4);
    EXPECT_TRUE(flag(v, 67));
    EXPECT_EQ(v.CurveTable[66], 0);
    // The last entry, 10,000 rpm, and a negative advance.
    Curve last = curveOf({at(9900, 20), at(10000, 20)});
    EXPECT_EQ(last.CurveTable[106], 105);
    EXPECT_EQ(last.CurveTable[107], 104); // 104.2, kept in memory only
    last.points[1].y = -1200;
    BuildCurveTable(last);
    EXPECT_EQ(last.CurveTable[107], 0);
}

TEST(CurveTable, DefaultPathAndMaxRpmField) {
    EXPECT_EQ(defaultCurvePath("/w", '/', 6, 12, 2026, 9, 5, 7),
              "/w/CurvaAnticipo-6dic26-090507.crva");
    CurveDocument d;
    EXPECT_EQ(d.maxRpm(), 7500);
    d.setMaxRpmText("1050");
    EXPECT_EQ(d.maxRpmField, " 1050");
    EXPECT_EQ(d.maxRpm(), 1050);
    EXPECT_EQ(leadingNumber("  12ab"), 12);
    EXPECT_EQ(leadingNumber("     "), 0);
}
