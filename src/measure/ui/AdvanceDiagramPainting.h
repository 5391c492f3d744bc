#pragma once
#include "measure/AdvanceDiagram.h"
#include "measure/ui/DiagramLayer.h"
#include <QColor>
#include <QImage>
#include <vector>

class QPainter;

namespace measure {

// The advance diagram drawn into an image whose pixels are tppX x tppY twips: the grid
// and frame, and measured points set straight into the pixels (a million points take a
// few milliseconds).
void drawAdvanceGrid(QPainter& p, const AdvanceDiagram& d, double tppX, double tppY);
// Sets the 2 x 2 pixels of every point inside the axes.
void plotAdvancePoints(QImage& image, const AdvanceDiagram& d, double tppX, double tppY,
                       const std::vector<AdvancePoint>& points, QColor colour);

// The advance diagram of rows (the measurement's own points, black) with the visible
// layers over it, as an image of size pixels; diagram's limits are kept, its size set.
QImage advanceDiagramImage(const AdvanceDiagram& limits, QSize size,
                           const std::vector<AdvancePoint>& own,
                           const std::vector<DiagramLayer>& layers);

} // namespace measure
