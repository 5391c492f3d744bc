#pragma once
#include "measure/AdvanceRow.h"
#include <QColor>
#include <QDateTime>
#include <QString>
#include <vector>

namespace measure {

// A layer laid over the advance diagram: another measurement's points or a curve's line.
struct DiagramLayer {
    QString name; // the file's name (and the curve's number)
    QDateTime date;
    QColor colour;
    std::vector<AdvancePoint> points; // a measurement's points, or a curve's corners
    bool curve = false;               // drawn as a line through points, in speed order
    bool visible = true;
};

// The colour of the n-th layer laid (0-based): distinct from the black of the measurement's
// own points and from each other.
QColor layerColour(int n);

} // namespace measure
