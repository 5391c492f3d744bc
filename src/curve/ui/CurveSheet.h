#pragma once
#include "base/ui/Sheet.h"
#include "curve/CurveModel.h"
#include <string>

namespace curve {

// The printed sheet of a curve document: the graph with its three curves, MaxRpm, the lock
// state, the notes, then the tables of curves 1 and 2 as the unit receives them, address by
// address.
QString curveSheetTitle(int langOffset);
void paintCurveSheet(base::SheetPainter& sheet, const CurveDocument& doc, const std::string& path,
                     const QDateTime& date);

} // namespace curve
