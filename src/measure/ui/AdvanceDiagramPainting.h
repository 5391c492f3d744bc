#pragma once
#include "measure/AdvanceDiagram.h"
#include <QColor>
#include <QImage>
#include <vector>

class QPainter;
class RowStore;

// The advance diagram drawn into an image whose pixels are tppX x tppY twips: the grid
// and frame, and measured points set straight into the pixels (a million points take a
// few milliseconds).
void drawAdvanceGrid(QPainter& p, const AdvanceDiagram& d, double tppX, double tppY);
// Sets the 2 x 2 pixels of every point inside the axes.
void plotAdvancePoints(QImage& image, const AdvanceDiagram& d, double tppX, double tppY,
                       const std::vector<AdvancePoint>& points, QColor colour);
// The points of stored advance rows (51 columns); rows with a blank advance give none.
std::vector<AdvancePoint> advancePointsOf(const RowStore& advanceRows);
