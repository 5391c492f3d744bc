#pragma once
#include "curve/CurveModel.h"
#include <QColor>

class QPainter;

namespace curve {

// The curve graph in twips of the fixed geometry, for the editor and the printed sheet.

// Pen of curve 0 (black), 1 (blue), 2 (red).
QColor curvePen(int curveNo);
// The grid: a band per 1000 rpm with minor lines every 100 rpm (the 500 rpm one dark),
// minor lines every degree (the fifth dark), major lines every 10 degrees, the frame.
void drawCurveGrid(QPainter& p, double penWidth);
// The curve's segments in its colour.
void drawCurveSegments(QPainter& p, const Curve& c, int curveNo, double penWidth);

} // namespace curve
