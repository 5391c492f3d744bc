#include "curve/CurveEditing.h"
#include "curve/GraphPen.h"
#include <algorithm>
#include <gtest/gtest.h>

using namespace curve;

namespace {
// Graph position of a point d twips right of the 500 rpm line and deg degrees high.
double X(double d) {
    return GraphX0 + d;
}
double Y(double deg) {
    return GraphY0 - deg * 120;
}
} // namespace

TEST(CurveEditing, SnappingToTheHundredRpmGrid) {
    EXPECT_EQ(snapToGrid(1859), 1800); // 2,049 rpm -> 2,000
    EXPECT_EQ(snapToGrid(3059), 3000);
    EXPECT_EQ(snapToGrid(3061), 3120);
    EXPECT_EQ(snapToGrid(60), 120); // halfway: the higher line
    EXPECT_EQ(snapToGrid(0), 0);
    EXPECT_EQ(cursorRpm(X(1859)), 2049);
}

TEST(CurveEditing, HitArea) {
    EXPECT_TRUE(inHitArea(GraphX0, GraphY0));
    EXPECT_TRUE(inHitArea(GraphX0 + 11399, GraphYTop));
    EXPECT_FALSE(inHitArea(GraphX0 - 1, 3000));
    EXPECT_FALSE(inHitArea(GraphXMax, 3000)); // 10,000 rpm is outside 500..9999
    EXPECT_FALSE(inHitArea(1000, GraphYTop - 1));
    EXPECT_FALSE(inHitArea(1000, GraphY0 + 1));
}

TEST(CurveEditing, PressesAndReleasesBuildTheCurve) {
    Curve c;
    EXPECT_EQ(pressAt(c, X(1859), Y(10)), Edit::FirstPoint);
    EXPECT_EQ(c.points[0], (Point{1800, 1200}));
    EXPECT_EQ(c.CurveLastPoint, 0);
    EXPECT_EQ(releaseAt(c, X(1700), Y(12)), Edit::Ignored); // left of the last point
    EXPECT_EQ(releaseAt(c, X(1800), Y(10)), Edit::Same);
    EXPECT_EQ(releaseAt(c, X(3061), Y(20)), Edit::Added);
    EXPECT_EQ(c.CurveLastPoint, 1);
    EXPECT_EQ(c.points[1], (Point{3120, 2400}));
    EXPECT_NE(c.CurveTable[12 + 26], 0); // 3,100 rpm at 20 degrees: 336 counts
    // Up to 60 twips left of the last point: a vertical step at its rpm.
    EXPECT_EQ(pressAt(c, X(3060), Y(30)), Edit::Added);
    EXPECT_EQ(c.points[2], (Point{3120, 3600}));
    EXPECT_EQ(pressAt(c, X(3059), Y(35)), Edit::Ignored);

    undoLastPoint(c);
    EXPECT_EQ(c.CurveLastPoint, 1);
    EXPECT_EQ(c.points[2], Point{});
    clearCurve(c);
    EXPECT_EQ(c.CurveLastPoint, 0);
    EXPECT_EQ(c.CurveTable[38], 0);
}

TEST(CurveEditing, TheHundredAndFirstPointIsTheLast) {
    Curve c;
    pressAt(c, X(0), Y(0));
    ASSERT_EQ(releaseAt(c, X(120), Y(0.3)), Edit::Added);
    for (int i = 2; i <= 100; ++i)
        ASSERT_EQ(pressAt(c, X(std::min(i, 94) * 120), Y(i * 0.3)), Edit::Added) << i;
    EXPECT_EQ(c.CurveLastPoint, 100);
    EXPECT_EQ(pressAt(c, X(11280), Y(40)), Edit::Ignored);
    EXPECT_EQ(releaseAt(c, X(11280), Y(40)), Edit::Ignored);
    EXPECT_EQ(c.CurveLastPoint, 100);
}

TEST(CurveEditing, TextRules) {
    for (auto [typed, kept] :
         {std::pair{"", "0"}, {"0000", "0"}, {"10000", "9999"}, {"9999", "9999"}, {"1000", "1000"}})
        EXPECT_EQ(maxRpmTextRule(typed), kept) << typed;
    EXPECT_TRUE(maxRpmWarning("1000")); // shown red up to 1,000
    EXPECT_FALSE(maxRpmWarning("1001"));
    for (auto [typed, kept] : {std::pair{"12", "12"}, {"2", "2"}, {"3", "0"}, {"1x", "0"}})
        EXPECT_EQ(curveChoiceRule(typed), kept) << typed;
}

// A press, a drag and a release on an empty curve make one gesture: the release adds the
// segment, and the history's step starts from the curves before the press.
TEST(GraphPen, OneGestureFromPressToReleaseAndNothingOnALockedDocument) {
    Curves curves{};
    GraphPen pen;
    GraphPen::Step s = pen.press(curves, 1, false, X(3000), Y(10)); // 3,000 rpm, 10 degrees
    EXPECT_TRUE(s.inside && s.redraw && !s.edited);
    EXPECT_TRUE(pen.down());
    EXPECT_EQ(pen.gesture(), 1);
    EXPECT_FALSE(pen.move(curves, 1, X(2000), Y(20)).redraw); // left of the first point
    EXPECT_FALSE(pen.rubberEnd());
    EXPECT_TRUE(pen.move(curves, 1, X(6600), Y(30)).redraw);
    ASSERT_TRUE(pen.rubberEnd());
    EXPECT_EQ(pen.rubberEnd()->x, X(6600));
    s = pen.release(curves, 1, false, X(6600), Y(30));
    EXPECT_TRUE(s.edited);
    EXPECT_EQ(curves[1].CurveLastPoint, 1);
    EXPECT_FALSE(pen.before()[1].hasSegment());
    EXPECT_EQ(pen.gesture(), 1);
    EXPECT_FALSE(pen.down() || pen.rubberEnd());
    EXPECT_FALSE(pen.release(curves, 1, false, X(8000), Y(30)).edited);          // no press in hand
    EXPECT_FALSE(pen.move(curves, 1, X(8000), Y(30)).redraw || pen.rubberEnd()); // hovering

    // The next press adds a segment at once: a new gesture from the curves with one segment.
    EXPECT_TRUE(pen.press(curves, 1, false, X(9000), Y(20)).edited);
    EXPECT_EQ(pen.gesture(), 2);
    EXPECT_EQ(pen.before()[1].CurveLastPoint, 1);
    pen.lift();

    s = pen.press(curves, 1, true, X(10000), Y(20)); // locked: the read-out only
    EXPECT_TRUE(s.inside && !s.edited && !pen.down());
    EXPECT_EQ(curves[1].CurveLastPoint, 2);
    EXPECT_FALSE(pen.press(curves, 1, false, GraphX0 - 1, Y(20)).inside);
}
