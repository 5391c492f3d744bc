#include "measure/ui/frmMisAntPicture.h"
#include "measure/ui/AdvanceDiagramPainting.h"
#include <QLocale>
#include <QPainter>
#include <cmath>

namespace measure {

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
    static const std::vector<DiagramLayer> kNone;
    image_ = advanceDiagramImage(diagram_, size(), {}, layers_ ? *layers_ : kNone);
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

// The visible layers named in the diagram's top right corner, each beside its colour.
void frmMisAntPicture::paintLegend(QPainter& p) const {
    if (!layers_) return;
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    int y = py(diagram_.top()) + 4;
    const int right = px(diagram_.right()) - 4;
    for (const DiagramLayer& layer : *layers_) {
        if (!layer.visible) continue;
        const QString text = layer.name + QStringLiteral("  ") +
                             QLocale().toString(layer.date, QLocale::ShortFormat);
        const int width = metrics.horizontalAdvance(text);
        const QRect box(right - width - line - 8, y, width + line + 8, line);
        p.fillRect(box, QColor(255, 255, 255, 220));
        p.fillRect(QRect(box.left() + 2, y + 3, line - 6, line - 6), layer.colour);
        p.setPen(Qt::black);
        p.drawText(box.adjusted(line + 2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
        y += line + 2;
    }
}

void frmMisAntPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, image_);
    paintLegend(p);
    if (reference_.size() < 2) return;
    const AdvanceDiagram& d = diagram_;
    p.setClipRect(QRect(QPoint(px(AdvanceDiagram::Left), py(d.top())),
                        QPoint(px(d.right()), py(AdvanceDiagram::Bottom))));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kReference, 1.5));
    p.drawPolyline(reference_);
}

} // namespace measure
