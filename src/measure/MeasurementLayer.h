#pragma once
#include "curve/CurveModel.h"
#include "measure/AdvanceRow.h"
#include <optional>
#include <string_view>
#include <vector>

namespace measure {

// What the advance diagram lays over a measurement: the points of further measurements and
// the corners of curves, in rpm and tenths of a degree.

// The point a 95-column rotation row plots (its advance derived as the advance row's);
// nothing when its advance is not above 0 or its speed does not read.
std::optional<AdvancePoint> rotationAdvancePoint(std::string_view rotationRow);
// The points of a measurement file (.mrot, .mant); nothing when the file is refused. Only
// the points are kept, 16 bytes a row.
std::optional<std::vector<AdvancePoint>> mrotAdvancePoints(std::string_view bytes);
// A curve's points 0..CurveLastPoint; none when the curve has no segment.
std::vector<AdvancePoint> curveCorners(const curve::Curve& c);

} // namespace measure
