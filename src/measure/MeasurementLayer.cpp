#include "measure/MeasurementLayer.h"
#include "measure/MrotFile.h"
#include "measure/RowReader.h"
#include <cmath>

namespace measure {

std::optional<AdvancePoint> rotationAdvancePoint(std::string_view row) {
    const auto rpm = readInteger(rowField(row, RotColumn));
    if (!rpm) return std::nullopt;
    auto ticks = [row](RowColumn c) {
        return static_cast<uint32_t>(microsToTicks(readMillis(rowField(row, c)).value_or(0)));
    };
    const uint32_t tAnt = advanceTicks(ticks(TaColumn), ticks(TssColumn));
    const uint32_t tc = ticks(TcColumn);
    if (tAnt == 0 || tc == 0) return std::nullopt;
    return AdvancePoint{*rpm, advanceTenths(tAnt, tc)};
}

std::optional<std::vector<AdvancePoint>> mrotAdvancePoints(std::string_view bytes) {
    std::vector<AdvancePoint> points;
    points.reserve(bytes.size() / kMrotRecord);
    const auto doc = parseMrot(
        bytes,
        [&points](std::string_view row) {
            if (const auto p = rotationAdvancePoint(row)) points.push_back(*p);
        },
        0);
    if (!doc) return std::nullopt;
    points.shrink_to_fit();
    return points;
}

std::vector<AdvancePoint> curveCorners(const curve::Curve& c) {
    std::vector<AdvancePoint> corners;
    if (!c.hasSegment()) return corners;
    for (int i = 0; i <= c.CurveLastPoint; ++i) {
        const curve::Point& p = c.points[static_cast<size_t>(i)];
        corners.push_back(
            {std::lround(curve::pointRpm(p)), std::lround(curve::pointAdvance(p) * 10)});
    }
    return corners;
}

} // namespace measure
