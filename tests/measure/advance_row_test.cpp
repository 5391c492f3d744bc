#include "measure/AdvanceRow.h"
#include "measure/MeasurementLayer.h"
#include "measure/MrotFile.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

using namespace measure;

namespace {

std::string joined(std::initializer_list<std::string> fields) {
    std::string out;
    for (const std::string& f : fields)
        out += (out.empty() ? "" : " ") + f;
    return out;
}

// Ta 3125, Tb 9375, Tss 2500 ticks: a 20 ms revolution at 3,000 rpm.
const std::string kRotation =
    joined({"     1", " 3,000", "   20.000", "   15.000", " +15.000", "  5.000", "    0.000",
            "  4.000", "0000 0000", "00", "00:00:020,000"});

} // namespace

TEST(AdvanceRow, ColumnsOfTheRowWorkedByHand) {
    ASSERT_EQ(kRotation.size(), 95u);
    // TAnt = 625 ticks = 1.000 ms; 360 x 625 / 12,500 = 18.0 degrees.
    const std::string expected =
        joined({"     1", " 3,000", " 18.0", " 1.000", "   20.000", "00:00:020,000"}) + " ";
    EXPECT_EQ(expected.size(), 51u);
    EXPECT_EQ(advanceRow(kRotation, 3125, 2500, 12500), expected);
    EXPECT_EQ(kAdvanceHeader.size(), 50u);

    // Tss equal to Ta, or above it: blank Ant and TAnt, and no point.
    const std::string blank =
        joined({"     1", " 3,000", "     ", "      ", "   20.000", "00:00:020,000"}) + " ";
    EXPECT_EQ(advanceRow(kRotation, 3125, 3125, 12500), blank);
    EXPECT_EQ(advanceRow(kRotation, 3125, 4000, 12500), blank);
    EXPECT_FALSE(advancePoint(blank).has_value());
    EXPECT_FALSE(advancePoint("short").has_value());
    const auto q = advancePoint("     9 12,345  35.9  1.000     4.860 00:00:020,000 ");
    ASSERT_TRUE(q.has_value());
    EXPECT_EQ(q->rpm, 12345);
    EXPECT_EQ(q->tenths, 359);

    // 40,000 ticks of advance time are limited to 24,000: 38.400 ms, 86.4 degrees of a
    // 100,000-tick revolution.
    EXPECT_EQ(advanceTicks(40000, 0), 24000u);
    EXPECT_EQ(advanceRow(kRotation, 40000, 0, 100000).substr(14, 12), " 86.4 38.400");
    // The angle is rounded to the tenth: 3,600,000 / 12,345 = 291.6.
    EXPECT_EQ(advanceTenths(1000, 12345), 292);
    EXPECT_EQ(advanceTenths(12500, 12500), 3600);
    EXPECT_EQ(advanceRow(kRotation, 12500, 0, 12500).substr(14, 5), "360.0");
    EXPECT_EQ(advanceTenths(5, 0), 0);
}

TEST(AdvanceRow, RebuiltFromAStoredRowAsWhenLive) {
    // Every tick count survives the row's rounding to whole microseconds.
    for (int64_t ticks = 0; ticks <= 655358; ++ticks)
        ASSERT_EQ(microsToTicks((ticks * 16 + 5) / 10), ticks) << ticks;

    EXPECT_EQ(advanceRowFromText(kRotation), advanceRow(kRotation, 3125, 2500, 12500));
    // Ta 3127 (5.003 ms), Tss 1 (0.002 ms), Tc 12504 (20.006 ms).
    const std::string odd =
        joined({"    17", " 2,999", "   20.006", "   15.003", "  +0.003", "  5.003", "    0.000",
                "  0.002", "0000 0000", "00", "00:01:020,000"});
    EXPECT_EQ(advanceRowFromText(odd), advanceRow(odd, 3127, 1, 12504));
    EXPECT_EQ(advanceRowFromText(odd).substr(14, 12), " 90.0  5.002");
    // A revolution of 0 ticks: blank Rot and Tc, no advance.
    const std::string zero =
        joined({"     2", "      ", "         ", "    0.000", "   0.000", "  0.000", "    0.000",
                "  0.000", "0000 0000", "00", "00:01:020,000"});
    // Columns 7-37 blank: Rot, Ant, TAnt and Tc.
    EXPECT_EQ(advanceRowFromText(zero), "     2" + std::string(31, ' ') + "00:01:020,000 ");
}

// What a layer lays over the diagram: a rotation row's point worked as its advance row's, the
// points of a file's rows that have one, a curve's corners.
TEST(MeasurementLayer, PointsOfRowsFilesAndCurves) {
    const auto pairOf = [](const std::optional<AdvancePoint>& p) {
        return p ? std::pair{p->rpm, p->tenths} : std::pair<int64_t, int64_t>{-1, -1};
    };
    EXPECT_EQ(pairOf(rotationAdvancePoint(kRotation)), (std::pair<int64_t, int64_t>{3000, 180}));
    std::string noAdvance = kRotation; // Tss 5.000 = Ta: no point
    noAdvance.replace(61, 7, "  5.000");
    EXPECT_FALSE(rotationAdvancePoint(noAdvance).has_value());
    std::string noSpeed = kRotation;
    noSpeed.replace(7, 6, "      ");
    EXPECT_FALSE(rotationAdvancePoint(noSpeed).has_value());
    std::string noTc = kRotation;
    noTc.replace(14, 9, std::string(9, ' '));
    EXPECT_FALSE(rotationAdvancePoint(noTc).has_value());

    MrotDocument doc;
    doc.rows = {kRotation, noAdvance, kRotation};
    const auto points = mrotAdvancePoints(serializeMrot(doc));
    ASSERT_TRUE(points.has_value());
    ASSERT_EQ(points->size(), 2u);
    EXPECT_EQ(pairOf(points->back()), (std::pair<int64_t, int64_t>{3000, 180}));
    EXPECT_FALSE(mrotAdvancePoints("nothing of ours").has_value());

    // x 600 and 10,200 twips: 1000 and 9000 rpm; y 600 and 3000: 5 and 25 degrees.
    curve::Curve c;
    EXPECT_TRUE(curveCorners(c).empty()); // no segment
    c.points[0] = {600, 600};
    c.points[1] = {10200, 3000};
    c.CurveLastPoint = 1;
    const std::vector<AdvancePoint> corners = curveCorners(c);
    ASSERT_EQ(corners.size(), 2u);
    EXPECT_EQ(pairOf(corners[0]), (std::pair<int64_t, int64_t>{1000, 50}));
    EXPECT_EQ(pairOf(corners[1]), (std::pair<int64_t, int64_t>{9000, 250}));
}
