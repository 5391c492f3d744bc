#include "measure/ui/frmMisAntPicture.h"
#include <QPainter>
#include <cmath>

namespace {
const QColor kFineGrid(0xE4, 0xE4, 0xE4);
const QColor kMainGrid(0x9A, 0x9A, 0x9A);
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
    const AdvanceDiagram& d = diagram_;
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
