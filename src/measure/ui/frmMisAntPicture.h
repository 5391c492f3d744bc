#pragma once
#include "measure/AdvanceDiagram.h"
#include "measure/ui/DiagramLayer.h"
#include <QImage>
#include <QPolygonF>
#include <QWidget>

class QPainter;

namespace measure {

// Picture1 of the advance window: grid, frame and measured points kept in a backing image
// (so nothing is lost on repaint), with the reference curve of the closed-loop check drawn
// over it.
class frmMisAntPicture : public QWidget {
    Q_OBJECT
public:
    frmMisAntPicture(const AdvanceDiagram& diagram, double twipsPerPixelX, double twipsPerPixelY,
                     QWidget* parent);
    // An empty diagram: fine and main grid lines, the frame, and the visible layers.
    void clear();
    // The measurements and curves laid over the diagram, with their legend (the owner
    // keeps them and calls clear() when they change).
    void setLayers(const std::vector<DiagramLayer>* layers) { layers_ = layers; }
    // One measured point, when it lies inside the axes.
    void plot(const AdvancePoint& point);
    // The reference curve, (rpm, tenths of a degree) pairs in speed order; empty: none.
    void setReference(const std::vector<AdvancePoint>& curve);
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintLegend(QPainter& p) const;
    int px(double twipsX) const;
    int py(double twipsY) const;

    const AdvanceDiagram& diagram_;
    double tppX_, tppY_;
    QImage image_;
    QPolygonF reference_;
    const std::vector<DiagramLayer>* layers_ = nullptr;
};

} // namespace measure
