#include "measure/ui/AdvanceDiagramPainting.h"
#include "measure/RowStore.h"
#include <QPainter>
#include <cmath>

namespace {
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
    if (image.isNull() || image.depth() != 32) return;
    const QRgb rgb = colour.rgb();
    const int w = image.width(), h = image.height();
    const qsizetype stride = image.bytesPerLine() / 4;
    auto* bits = reinterpret_cast<QRgb*>(image.bits());
    for (const AdvancePoint& point : points) {
        const auto at = d.place(point);
        if (!at) continue;
        const int x = static_cast<int>(at->x / tppX + 0.5);
        const int y = static_cast<int>(at->y / tppY + 0.5);
        for (int dy = -1; dy <= 0; ++dy)
            for (int dx = -1; dx <= 0; ++dx)
                if (x + dx >= 0 && x + dx < w && y + dy >= 0 && y + dy < h)
                    bits[(y + dy) * stride + x + dx] = rgb;
    }
}

std::vector<AdvancePoint> advancePointsOf(const RowStore& advanceRows) {
    std::vector<AdvancePoint> points;
    points.reserve(advanceRows.size());
    for (size_t i = 0; i < advanceRows.size(); ++i)
        if (const auto p = advancePoint(advanceRows.row(i))) points.push_back(*p);
    return points;
}
