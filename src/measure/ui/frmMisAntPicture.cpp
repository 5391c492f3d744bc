#include "measure/ui/frmMisAntPicture.h"
#include "measure/ui/AdvanceDiagramPainting.h"
#include <QPainter>
#include <cmath>

namespace {
const QColor kReference(0x00, 0x60, 0xE0);
} // namespace

frmMisAntPicture::frmMisAntPicture(const AdvanceDiagram& diagram, double twipsPerPixelX,
                                   double twipsPerPixelY, QWidget* parent)
    : QWidget(parent), diagram_(diagram), tppX_(twipsPerPixelX), tppY_(twipsPerPixelY) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int frmMisAntPicture::px(double twipsX) const {
    return static_cast<int>(std::lround(twipsX / tppX_));
}
int frmMisAntPicture::py(double twipsY) const {
    return static_cast<int>(std::lround(twipsY / tppY_));
}

void frmMisAntPicture::clear() {
    image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(Qt::white);
    QPainter p(&image_);
    drawAdvanceGrid(p, diagram_, tppX_, tppY_);
    update();
}

void frmMisAntPicture::plot(const AdvancePoint& point) {
    const auto at = diagram_.place(point);
    if (!at || image_.isNull()) return;
    QPainter p(&image_);
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawPoint(px(at->x), py(at->y));
}

void frmMisAntPicture::setReference(const std::vector<AdvancePoint>& curve) {
    reference_.clear();
    for (const AdvancePoint& c : curve)
        reference_ << QPointF(diagram_.xOf(static_cast<double>(c.rpm)) / tppX_,
                              diagram_.yOf(static_cast<double>(c.tenths)) / tppY_);
    update();
}

void frmMisAntPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, image_);
    if (reference_.size() < 2) return;
    const AdvanceDiagram& d = diagram_;
    p.setClipRect(QRect(QPoint(px(AdvanceDiagram::Left), py(d.top())),
                        QPoint(px(d.right()), py(AdvanceDiagram::Bottom))));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kReference, 1.5));
    p.drawPolyline(reference_);
}
