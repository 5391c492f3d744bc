#include "measure/ui/MisRotPicture.h"
#include <QPainter>
#include <cmath>

namespace {
// 0xBBGGRR to a colour.
QColor colourOf(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}
} // namespace

MisRotPicture::MisRotPicture(double twipsPerPixelX, double twipsPerPixelY, QWidget* parent)
    : QWidget(parent), tppX_(twipsPerPixelX), tppY_(twipsPerPixelY) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    image_ = QImage(1, 1, QImage::Format_RGB32);
    image_.fill(Qt::white);
}

int MisRotPicture::toPixelsX(int twips) const {
    return static_cast<int>(std::lround(twips / tppX_));
}
int MisRotPicture::toPixelsY(int twips) const {
    return static_cast<int>(std::lround(twips / tppY_));
}
int MisRotPicture::widthTwips() const {
    return static_cast<int>(std::lround(width() * tppX_));
}
int MisRotPicture::heightTwips() const {
    return static_cast<int>(std::lround(height() * tppY_));
}

void MisRotPicture::clear() {
    image_.fill(Qt::white);
}

void MisRotPicture::line(int x1, int y1, int x2, int y2, uint32_t colour, int width) {
    QPainter p(&image_);
    p.setPen(QPen(colourOf(colour), width));
    p.drawLine(toPixelsX(x1), toPixelsY(y1), toPixelsX(x2), toPixelsY(y2));
}

void MisRotPicture::point(int x, int y, uint32_t colour) {
    const int px = toPixelsX(x);
    const int py = toPixelsY(y);
    if (image_.valid(px, py)) image_.setPixel(px, py, colourOf(colour).rgb());
}

void MisRotPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void MisRotPicture::resizeEvent(QResizeEvent*) {
    if (image_.size() == size() || width() <= 0 || height() <= 0) return;
    image_ = QImage(size(), QImage::Format_RGB32);
    image_.fill(Qt::white);
    emit resized();
}
