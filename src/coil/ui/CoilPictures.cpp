#include "coil/ui/CoilPictures.h"
#include "base/NumberFormat.h"
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace coil {

namespace {
const QColor kBackground(0, 0, 0);
const QColor kGrid(70, 70, 70);
const QColor kAxisText(150, 150, 150);
const QColor kPeriod(0, 255, 0);
const QColor kDwell(255, 255, 0);
const QColor kCurrent(255, 255, 255);
const QColor kBandLine(0, 200, 255);
constexpr int kProfileMaxMs = 10;
} // namespace

CoilCurrentPicture::CoilCurrentPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(300, 300);
}

void CoilCurrentPicture::setGraph(std::optional<CurrentGraph> graph) {
    graph_ = std::move(graph);
    update();
}

QPointF CoilCurrentPicture::toPixels(const Point& p) const {
    return {p.x * width() / coil::Size, p.y * height() / coil::Size};
}

void CoilCurrentPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kBackground);
    p.setRenderHint(QPainter::Antialiasing);
    // Everything below is laid out in twips.
    p.scale(static_cast<double>(width()) / coil::Size, static_cast<double>(height()) / coil::Size);
    const double left = OriginX;
    const double bottom = OriginY;
    const double right = left + Divisions * Division;
    const double top = bottom - Divisions * Division;

    p.setPen(QPen(kGrid, 0));
    for (int i = 0; i <= Divisions; ++i) {
        const double x = left + i * Division;
        const double y = bottom - i * Division;
        p.drawLine(QLineF(x, top, x, bottom));
        p.drawLine(QLineF(left, y, right, y));
    }
    QFont font = p.font();
    font.setPixelSize(190);
    p.setFont(font);
    p.setPen(kAxisText);
    for (int a = 0; a <= Divisions; a += 2)
        p.drawText(QRectF(0, bottom - a * Division - 150, left - 60, 300),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(a));
    p.drawText(QRectF(0, top - 400, left, 300), Qt::AlignRight | Qt::AlignBottom, "A");

    if (!graph_) return;
    const CurrentGraph& gr = *graph_;
    p.setClipRect(QRectF(left, top, right - left, bottom - top).adjusted(-20, -20, 20, 20));
    p.setPen(QPen(kPeriod, 0));
    for (double x : {gr.periodStartX, gr.periodEndX})
        p.drawLine(QLineF(x, top, x, bottom));
    p.setPen(QPen(kDwell, 0));
    for (double x : {gr.dwellStartX, gr.dwellEndX})
        p.drawLine(QLineF(x, top, x, bottom));

    QPolygonF curve;
    curve.reserve(static_cast<qsizetype>(gr.curve.size()));
    for (const Point& pt : gr.curve)
        curve.append(QPointF(pt.x, pt.y));
    QPen pen(kCurrent);
    pen.setWidthF(2.0 * coil::Size / std::max(1, width())); // two pixels
    p.setPen(pen);
    if (curve.size() == 1)
        p.drawPoint(curve.front());
    else
        p.drawPolyline(curve);
}

CoilBandPicture::CoilBandPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(240, 90);
}

void CoilBandPicture::setProgram(const DwellIndexes& dwell, int referenceRpm) {
    dwell_ = dwell;
    rpm_ = referenceRpm;
    update();
}

void CoilBandPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kBackground);
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);
    const QRectF plot = QRectF(rect()).adjusted(34, 6, -14, -16);
    auto x = [&](double rpm) { return plot.left() + plot.width() * rpm / ProfileMaxRpm; };
    auto y = [&](double ms) { return plot.bottom() - plot.height() * ms / kProfileMaxMs; };

    p.setPen(QPen(kGrid, 0));
    for (int rpm = 0; rpm <= ProfileMaxRpm; rpm += 1000)
        p.drawLine(QLineF(x(rpm), plot.top(), x(rpm), plot.bottom()));
    for (int ms = 0; ms <= kProfileMaxMs; ms += 2)
        p.drawLine(QLineF(plot.left(), y(ms), plot.right(), y(ms)));
    p.setPen(kAxisText);
    for (int rpm = 0; rpm <= ProfileMaxRpm; rpm += 2000)
        p.drawText(QRectF(x(rpm) - 20, plot.bottom() + 2, 40, 12), Qt::AlignCenter,
                   QString::fromStdString(base::integer(rpm, lang_)));
    // The units: ms beside the top of the dwell scale, the speed's in the top right corner.
    for (int ms = 0; ms <= kProfileMaxMs; ms += 5)
        p.drawText(QRectF(0, y(ms) - 6, 30, 12), Qt::AlignRight | Qt::AlignVCenter,
                   ms == kProfileMaxMs ? QString("%1 ms").arg(ms) : QString::number(ms));
    p.drawText(plot.adjusted(0, 1, -2, 0), Qt::AlignRight | Qt::AlignTop,
               QString::fromLatin1(base::rpmUnit(lang_)));

    QPainterPath steps;
    bool first = true;
    for (const BandLevel& level : dwellProfile(dwell_)) {
        const QPointF from(x(level.fromRpm), y(level.dwellMs));
        if (first)
            steps.moveTo(from);
        else
            steps.lineTo(from);
        steps.lineTo(x(level.toRpm), y(level.dwellMs));
        first = false;
    }
    p.setPen(QPen(kBandLine, 2));
    p.drawPath(steps);
    if (rpm_ > 0) {
        p.setPen(QPen(kDwell, 1, Qt::DashLine));
        p.drawLine(QLineF(x(rpm_), plot.top(), x(rpm_), plot.bottom()));
    }
}

} // namespace coil
