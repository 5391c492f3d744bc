#include "measure/ui/ImageCanvas.h"
#include <QPainter>
#include <cmath>

namespace measure {

namespace {
// 0xBBGGRR to a colour.
QColor colourOf(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}
} // namespace

ImageCanvas::ImageCanvas(double twipsPerPixelX, double twipsPerPixelY)
    : image(1, 1, QImage::Format_RGB32), tppX(twipsPerPixelX), tppY(twipsPerPixelY) {
    image.fill(Qt::white);
}

int ImageCanvas::toPixelsX(int twips) const {
    return static_cast<int>(std::lround(twips / tppX));
}
int ImageCanvas::toPixelsY(int twips) const {
    return static_cast<int>(std::lround(twips / tppY));
}

void ImageCanvas::clear() {
    image.fill(Qt::white);
}

void ImageCanvas::line(int x1, int y1, int x2, int y2, uint32_t colour, int width) {
    QPainter p(&image);
    p.setPen(QPen(colourOf(colour), width));
    p.drawLine(toPixelsX(x1), toPixelsY(y1), toPixelsX(x2), toPixelsY(y2));
}

void ImageCanvas::point(int x, int y, uint32_t colour) {
    const int px = toPixelsX(x);
    const int py = toPixelsY(y);
    if (image.valid(px, py)) image.setPixel(px, py, colourOf(colour).rgb());
}

} // namespace measure
