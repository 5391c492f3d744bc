#include "panel/ui/frmMisBatteriaPicture.h"
#include "panel/BatteryRecording.h"
#include "panel/BatteryScreen.h"
#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>

namespace panel {

namespace {
const QColor kBackground(255, 255, 255);
const QColor kFrame(0, 0, 0);
const QColor kGrid(160, 160, 160);
const QColor kTrace(0, 0, 200);
} // namespace

BatteryPicture::BatteryPicture(const BatteryRecording& rec, const BatteryScreenState& screen,
                               double twipsPerPixelX, double twipsPerPixelY, QWidget* parent)
    : QWidget(parent), rec_(rec), screen_(screen), tppX_(twipsPerPixelX > 0 ? twipsPerPixelX : 15),
      tppY_(twipsPerPixelY > 0 ? twipsPerPixelY : 15) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BatteryPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kBackground);
    // Everything below is laid out in twips.
    p.scale(1.0 / tppX_, 1.0 / tppY_);
    const QRectF grid(OriginX, OriginY, GridWidth, GridHeight);

    QPen gridPen(kGrid, 0, Qt::DotLine);
    p.setPen(gridPen);
    for (int i = 1; i < Divisions; ++i) {
        const double x = OriginX + i * DivWidth;
        p.drawLine(QLineF(x, grid.top(), x, grid.bottom()));
        const double y = scaleLineY(i);
        p.drawLine(QLineF(grid.left(), y, grid.right(), y));
    }
    p.setPen(QPen(kFrame, 0));
    p.drawRect(grid);

    const int last = lastOnScreen(rec_, screen_.first, screen_.start, screen_.msPerDiv);
    const std::vector<Point> points =
        tracePoints(rec_, screen_.first, last, screen_.start, screen_.msPerDiv, tppX_);
    if (points.empty()) return;
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(points.size()));
    for (const Point& pt : points)
        line.append(QPointF(pt.x, pt.y));
    p.setClipRect(grid.adjusted(0, 0, 1, 1));
    QPen tracePen(kTrace, 0);
    p.setPen(tracePen);
    if (line.size() == 1)
        p.drawPoint(line.front());
    else
        p.drawPolyline(line);
}

} // namespace panel
