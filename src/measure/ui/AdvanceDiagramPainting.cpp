#include "measure/ui/AdvanceDiagramPainting.h"
#include <QPainter>
#include <cmath>

namespace measure {

namespace {
void paintLayerLines(QImage& image, const AdvanceDiagram& d, double tppX, double tppY,
                     const DiagramLayer& layer) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(QRectF(QPointF(AdvanceDiagram::Left / tppX, d.top() / tppY),
                         QPointF(d.right() / tppX, AdvanceDiagram::Bottom / tppY)));
    p.setPen(QPen(layer.colour, 2));
    QPolygonF line;
    for (const AdvancePoint& c : layer.points)
        line << QPointF(d.xOf(static_cast<double>(c.rpm)) / tppX,
                        d.yOf(static_cast<double>(c.tenths)) / tppY);
    p.drawPolyline(line);
}

const QColor kFineGrid(0xE4, 0xE4, 0xE4);
const QColor kMainGrid(0x9A, 0x9A, 0x9A);
} // namespace

void drawAdvanceGrid(QPainter& p, const AdvanceDiagram& d, double tppX, double tppY) {
    auto px = [tppX](double x) { return static_cast<int>(std::lround(x / tppX)); };
    auto py = [tppY](double y) { return static_cast<int>(std::lround(y / tppY)); };
    const int left = AdvanceDiagram::Left, bottom = AdvanceDiagram::Bottom;
    const int right = d.right(), top = d.top();
    for (int pass = 0; pass < 2; ++pass) {
        // fine lines every tenth of a step first, main lines every step over them
        p.setPen(QPen(pass == 0 ? kFineGrid : kMainGrid, 1));
        const double hStep = pass == 0 ? d.hScale / 10.0 : d.hScale;
        const double vStep = pass == 0 ? d.vScale / 10.0 : d.vScale;
        if (hStep >= 1)
            for (double x = left; x <= right + 0.5; x += hStep)
                p.drawLine(px(x), py(top), px(x), py(bottom));
        if (vStep >= 1)
            for (double y = bottom; y >= top - 0.5; y -= vStep)
                p.drawLine(px(left), py(y), px(right), py(y));
    }
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRect(QPoint(px(left), py(top)), QPoint(px(right), py(bottom))));
}

void plotAdvancePoints(QImage& image, const AdvanceDiagram& d, double tppX, double tppY,
                       const std::vector<AdvancePoint>& points, QColor colour) {
    if (image.isNull() || image.depth() != 32 || d.hScale <= 0 || d.vScale <= 0) return;
    // AdvanceDiagram::place() unrolled for the loop: the ranges of speed and advance that lie
    // inside the axes, then the offsets in twips and their pixels.
    const int64_t rpmLow = d.speedLow * 1000LL, tenthsLow = d.advanceLow * 100LL;
    const int64_t rpmHigh =
        rpmLow + ((d.right() - AdvanceDiagram::Left + 1) * 1000LL - 1) / d.hScale;
    const int64_t tenthsHigh =
        tenthsLow + ((AdvanceDiagram::Bottom - d.top() + 1) * 100LL - 1) / d.vScale;
    const double toPixelX = 1.0 / tppX, toPixelY = 1.0 / tppY;
    const QRgb rgb = colour.rgb();
    const int w = image.width(), h = image.height();
    const qsizetype stride = image.bytesPerLine() / 4;
    auto* bits = reinterpret_cast<QRgb*>(image.bits());
    for (const AdvancePoint& point : points) {
        if (point.rpm < rpmLow || point.rpm > rpmHigh || point.tenths < tenthsLow ||
            point.tenths > tenthsHigh)
            continue;
        const int64_t dx = (point.rpm - rpmLow) * d.hScale / 1000;
        const int64_t dy = (point.tenths - tenthsLow) * d.vScale / 100;
        const int x = static_cast<int>((AdvanceDiagram::Left + dx) * toPixelX + 0.5);
        const int y = static_cast<int>((AdvanceDiagram::Bottom - dy) * toPixelY + 0.5);
        if (x < 1 || y < 1 || x >= w || y >= h) continue;
        QRgb* at = bits + y * stride + x;
        at[0] = at[-1] = rgb;
        at[-stride] = at[-stride - 1] = rgb;
    }
}

QImage advanceDiagramImage(const AdvanceDiagram& limits, QSize size,
                           const std::vector<AdvancePoint>& own,
                           const std::vector<DiagramLayer>& layers) {
    AdvanceDiagram d = limits;
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    const double tppX = static_cast<double>(d.width) / image.width();
    const double tppY = static_cast<double>(d.height) / image.height();
    {
        QPainter p(&image);
        drawAdvanceGrid(p, d, tppX, tppY);
    }
    for (const DiagramLayer& layer : layers)
        if (layer.visible && !layer.curve)
            plotAdvancePoints(image, d, tppX, tppY, layer.points, layer.colour);
    plotAdvancePoints(image, d, tppX, tppY, own, Qt::black);
    for (const DiagramLayer& layer : layers)
        if (layer.visible && layer.curve) paintLayerLines(image, d, tppX, tppY, layer);
    return image;
}

QColor layerColour(int n) {
    static const QColor colours[] = {QColor(0, 90, 230),  QColor(220, 30, 30),  QColor(0, 150, 60),
                                     QColor(230, 130, 0), QColor(170, 0, 170),  QColor(0, 160, 170),
                                     QColor(120, 80, 20), QColor(110, 110, 110)};
    return colours[static_cast<size_t>(n) % std::size(colours)];
}

} // namespace measure
