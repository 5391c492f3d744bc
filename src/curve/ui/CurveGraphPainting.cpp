#include "curve/ui/CurveGraphPainting.h"
#include <QPainter>

namespace curve {

namespace {
const QColor kDarkGrey(120, 120, 120);
const QColor kLightGrey(200, 200, 200);
} // namespace

QColor curvePen(int curveNo) {
    static const QColor pens[CurveCount] = {QColor(0, 0, 0), QColor(0, 0, 255), QColor(255, 0, 0)};
    return pens[curveNo];
}

void drawCurveGrid(QPainter& p, double penWidth) {
    auto vline = [&](double x, const QColor& c) {
        p.setPen(QPen(c, penWidth));
        p.drawLine(QPointF(x, GraphYTop), QPointF(x, GraphY0));
    };
    auto hline = [&](double y, const QColor& c) {
        p.setPen(QPen(c, penWidth));
        p.drawLine(QPointF(GraphX0, y), QPointF(GraphXMax, y));
    };
    // 600..900 rpm, then one band per 1000 rpm: its major line and nine minor lines, the
    // 500 rpm step dark.
    for (int r = 600; r <= 900; r += 100)
        vline(GraphX0 + (r - 500) * 1.2, kLightGrey);
    for (int m = 0; m <= 9; ++m) {
        const double major = GraphX0 + 600 + 1200.0 * m;
        if (m < 9)
            for (int s = 1; s <= 9; ++s)
                vline(major + s * GridStep, s == 5 ? kDarkGrey : kLightGrey);
        vline(major, kDarkGrey);
    }
    for (int band = 0; band < 5; ++band)
        for (int d = 1; d <= 9; ++d)
            hline(GraphY0 - band * TwipsPer10Deg - d * 120.0, d == 5 ? kDarkGrey : kLightGrey);
    for (int band = 0; band <= 5; ++band)
        hline(GraphY0 - band * TwipsPer10Deg, kDarkGrey);
    p.setPen(QPen(Qt::black, penWidth));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(QPointF(GraphX0, GraphYTop), QPointF(GraphXMax, GraphY0)));
}

void drawCurveSegments(QPainter& p, const Curve& c, int curveNo, double penWidth) {
    p.setPen(QPen(curvePen(curveNo), penWidth));
    for (int j = 0; j < c.CurveLastPoint; ++j) {
        const Point& a = c.points[static_cast<size_t>(j)];
        const Point& b = c.points[static_cast<size_t>(j + 1)];
        p.drawLine(QPointF(GraphX0 + a.x, GraphY0 - a.y), QPointF(GraphX0 + b.x, GraphY0 - b.y));
    }
}

} // namespace curve
