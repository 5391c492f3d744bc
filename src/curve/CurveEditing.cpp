#include "curve/CurveEditing.h"
#include <algorithm>
#include <cmath>

namespace curve {

namespace {

Point snapped(double x, double y) {
    return {snapToGrid(x - GraphX0), GraphY0 - y};
}

Edit addPoint(Curve& c, const Point& p) {
    const int last = c.CurveLastPoint;
    c.points[static_cast<size_t>(last + 1)] = p;
    if (p == c.points[static_cast<size_t>(last)]) return Edit::Same;
    c.CurveLastPoint = last + 1;
    BuildCurveTable(c);
    return Edit::Added;
}

} // namespace

double snapToGrid(double d) {
    const double s = GridStep;
    const double k = std::max(0.0, std::ceil(d / s));
    return s * k - d <= d - s * (k - 1) ? s * k : s * (k - 1);
}

int cursorRpm(double x) {
    return static_cast<int>(std::floor(x - GraphX0)) * 1000 / TwipsPer1000Rpm + 500;
}

bool inHitArea(double x, double y) {
    if (y < GraphYTop || y > GraphY0 || x < GraphX0 || x > GraphXMax) return false;
    const int rpm = cursorRpm(x);
    return rpm >= 500 && rpm <= 9999;
}

Edit pressAt(Curve& c, double x, double y) {
    if (!inHitArea(x, y)) return Edit::Ignored;
    const int last = c.CurveLastPoint;
    if (last == MaxLastPoint) return Edit::Ignored;
    if (last == 0) {
        c.points[0] = snapped(x, y);
        return Edit::FirstPoint;
    }
    if (x - GraphX0 < c.points[static_cast<size_t>(last)].x - GridStep / 2) return Edit::Ignored;
    return addPoint(c, snapped(x, y));
}

Edit releaseAt(Curve& c, double x, double y) {
    if (!inHitArea(x, y)) return Edit::Ignored;
    const int last = c.CurveLastPoint;
    if (last == MaxLastPoint) return Edit::Ignored;
    if (x < GraphX0 + c.points[static_cast<size_t>(last)].x) return Edit::Ignored;
    return addPoint(c, snapped(x, y));
}

void undoLastPoint(Curve& c) {
    if (c.CurveLastPoint == 0) return;
    c.points[static_cast<size_t>(c.CurveLastPoint)] = Point{};
    --c.CurveLastPoint;
    BuildCurveTable(c);
}

void clearCurve(Curve& c) {
    c = Curve{};
}

std::string maxRpmTextRule(const std::string& typed) {
    if (typed.empty() || typed == " " || typed == "00" || typed == "000" || typed == "0000")
        return "0";
    if (leadingNumber(typed) > MaxRpmLimit) return std::to_string(MaxRpmLimit);
    return typed;
}

bool maxRpmWarning(const std::string& text) {
    return leadingNumber(text) <= 1000;
}

std::string curveChoiceRule(const std::string& typed) {
    if (typed == "0" || typed == "1" || typed == "2" || typed == "12") return typed;
    return "0";
}

} // namespace curve
