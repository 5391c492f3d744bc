#include "curve/ui/CurveGraphPainting.h"
#include "curve/ui/frmProgCurva.h"
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <algorithm>

namespace curve {

// The graph of the curve editor, drawn in twips from the window's document.

using namespace curve;

// ---- the graph picture ----------------------------------------------------------------

CurvePicture::CurvePicture(frmProgCurva& owner) : QWidget(&owner), owner_(owner) {
    setObjectName("Picture1");
    setMouseTracking(true);
    // A click on the graph takes the keyboard, so the Edit keys reach the editor's history
    // rather than a text box.
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void CurvePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    owner_.paintGraph(p);
}

void CurvePicture::mousePressEvent(QMouseEvent* e) {
    owner_.graphPress(e);
}
void CurvePicture::mouseMoveEvent(QMouseEvent* e) {
    owner_.graphMove(e);
}
void CurvePicture::mouseReleaseEvent(QMouseEvent* e) {
    owner_.graphRelease(e);
}

// ---- drawing ----------------------------------------------------------------------------

void frmProgCurva::paintGraph(QPainter& p) {
    p.scale(1.0 / ctx.app.TwipsPerPixelX, 1.0 / ctx.app.TwipsPerPixelY);
    p.setRenderHint(QPainter::Antialiasing, false);
    FormDiagrammaIniz(p);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int c = 0; c < CurveCount; ++c)
        if (c != view_.selected && view_.shown(c)) DrawCurve(p, c);
    DrawCurve(p, view_.selected);
    if (ComTabella->isChecked())
        for (int c = 0; c < CurveCount; ++c)
            if (view_.shown(c)) drawQuantised(p, c);
    const Curve& cur = doc_.curves[static_cast<size_t>(view_.selected)];
    if (const auto& end = pen_.rubberEnd()) {
        const Point& last = cur.points[static_cast<size_t>(cur.CurveLastPoint)];
        p.setPen(QPen(curvePen(view_.selected), 0, Qt::DotLine));
        p.drawLine(QPointF(GraphX0 + last.x, GraphY0 - last.y), QPointF(end->x, end->y));
    }
}

void frmProgCurva::FormDiagrammaIniz(QPainter& p) {
    drawCurveGrid(p, ctx.app.TwipsPerPixelX);
}

void frmProgCurva::DrawCurve(QPainter& p, int c) {
    drawCurveSegments(p, doc_.curves[static_cast<size_t>(c)], c, 2 * ctx.app.TwipsPerPixelX);
}

// The advance the stored table makes the unit apply at each 100 rpm step over the
// curve's span: dashed stairs, with a mark per step; 0 where the count does not fit nine
// bits.
void frmProgCurva::drawQuantised(QPainter& p, int c) {
    const Curve& cur = doc_.curves[static_cast<size_t>(c)];
    if (!cur.hasSegment()) return;
    const int from = RpmToTableIndex(static_cast<float>(pointRpm(cur.points[0])));
    const int to = std::min(StoredEntries - 1,
                            RpmToTableIndex(static_cast<float>(
                                pointRpm(cur.points[static_cast<size_t>(cur.CurveLastPoint)]))));
    QPainterPath path;
    QColor colour = curvePen(c);
    if (c == 0) colour = QColor(0, 150, 0);
    const double mark = 3 * ctx.app.TwipsPerPixelX;
    p.setBrush(colour);
    for (int i = from; i <= to; ++i) {
        const double rpm = 500 + 100.0 * (i - FirstLowByte);
        const double deg = countAdvance(tableCount(cur.CurveTable, i), rpm);
        const QPointF pt(GraphX0 + (rpm - 500) * 1.2,
                         GraphY0 - std::min(deg, 50.0) * TwipsPer10Deg / 10);
        // Between two steps the unit keeps the lower step's value: a stair.
        if (i == from) {
            path.moveTo(pt);
        } else {
            path.lineTo(pt.x(), path.currentPosition().y());
            path.lineTo(pt);
        }
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(pt.x() - mark / 2, pt.y() - mark / 2, mark, mark));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, ctx.app.TwipsPerPixelX, Qt::DashLine));
    p.drawPath(path);
}

} // namespace curve
