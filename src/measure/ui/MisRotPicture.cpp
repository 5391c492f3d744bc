#include "measure/ui/MisRotPicture.h"
#include <QPainter>
#include <cmath>

namespace measure {

MisRotPicture::MisRotPicture(double twipsPerPixelX, double twipsPerPixelY, QWidget* parent)
    : QWidget(parent), canvas_(twipsPerPixelX, twipsPerPixelY) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int MisRotPicture::widthTwips() const {
    return static_cast<int>(std::lround(width() * canvas_.tppX));
}
int MisRotPicture::heightTwips() const {
    return static_cast<int>(std::lround(height() * canvas_.tppY));
}

void MisRotPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, canvas_.image);
}

void MisRotPicture::resizeEvent(QResizeEvent*) {
    if (canvas_.image.size() == size() || width() <= 0 || height() <= 0) return;
    canvas_.image = QImage(size(), QImage::Format_RGB32);
    canvas_.image.fill(Qt::white);
    emit resized();
}

} // namespace measure
