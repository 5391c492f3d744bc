#pragma once
#include "curve/CurveModel.h"
#include <string>

namespace curve {

// What the mouse and the text boxes of the curve editor do to a curve document. Positions
// are twips in the graph picture (GraphX0 is the 500 rpm line, GraphY0 the 0 degree line).

// The 100 rpm grid line nearest to d twips right of GraphX0; halfway goes to the higher.
double snapToGrid(double d);
// The graph takes a mouse event only inside its frame and for 500..9999 rpm.
bool inHitArea(double x, double y);
// rpm the cursor points at: (x - GraphX0) x 1000 \ 1200 + 500.
int cursorRpm(double x);

enum class Edit {
    Ignored,
    FirstPoint, // point 0 of an empty curve placed (no segment yet)
    Same,       // the new point equals the last one: nothing added
    Added,      // a segment was added and the table rebuilt
};

// A press on the graph: the first point of an empty curve, or the next point; a press up to
// half a grid step left of the last point lands on its rpm (a vertical step).
Edit pressAt(Curve& c, double x, double y);
// A release after an accepted press: the next point, never left of the last one.
Edit releaseAt(Curve& c, double x, double y);
// Removes the last point and rebuilds the table.
void undoLastPoint(Curve& c);
// No points, all table entries 0.
void clearCurve(Curve& c);

// TextVRM: above 9999 becomes "9999"; "", " ", "00", "000", "0000" become "0".
std::string maxRpmTextRule(const std::string& typed);
// Shown red when its value is 1000 or less.
bool maxRpmWarning(const std::string& text);
// ComboCA: typed text other than "0", "1", "2", "12" becomes "0".
std::string curveChoiceRule(const std::string& typed);

} // namespace curve
