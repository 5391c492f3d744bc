#include "measure/AdvanceDiagram.h"
#include "base/NumberFormat.h"

#include <cmath>

namespace measure {

void AdvanceDiagram::resize(int pictureWidth, int pictureHeight) {
    width = pictureWidth;
    height = pictureHeight;
    hScale = 0;
    vScale = 0;
    setSpeedLimits(speedLow, speedHigh);
    setAdvanceLimits(advanceLow, advanceHigh);
}

void AdvanceDiagram::setSpeedLimits(int low, int high) {
    speedLow = low;
    speedHigh = high;
    if (high > low) hScale = (right() - Left) / (high - low);
}

void AdvanceDiagram::setAdvanceLimits(int low, int high) {
    advanceLow = low;
    advanceHigh = high;
    if (high > low) vScale = (Bottom - top()) / (high - low);
}

int AdvanceDiagram::xOf(double rpm) const {
    return Left + static_cast<int>(std::floor((rpm - speedLow * 1000.0) * hScale / 1000.0));
}

int AdvanceDiagram::yOf(double tenths) const {
    return Bottom - static_cast<int>(std::floor((tenths - advanceLow * 100.0) * vScale / 100.0));
}

std::optional<AdvanceDiagram::Position> AdvanceDiagram::place(const AdvancePoint& p) const {
    if (hScale <= 0 || vScale <= 0) return std::nullopt;
    const int64_t dx = (p.rpm - speedLow * 1000LL) * hScale / 1000;
    const int64_t dy = (p.tenths - advanceLow * 100LL) * vScale / 100;
    if (p.rpm < speedLow * 1000LL || dx > right() - Left) return std::nullopt;
    if (p.tenths < advanceLow * 100LL || dy > Bottom - top()) return std::nullopt;
    return Position{Left + static_cast<int>(dx), Bottom - static_cast<int>(dy)};
}

std::string speedAxisLabel(int thousands, int langOffset) {
    return base::integer(thousands * 1000LL, langOffset);
}

std::string advanceAxisLabel(int tens) {
    return std::to_string(tens * 10) + "\u00B0";
}

} // namespace measure
