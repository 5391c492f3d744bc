#include "unit/BatteryModel.h"
#include <algorithm>
#include <cmath>
#include <numbers>

namespace unit {

double batteryVolts(const BatterySettings& s, double tUs) {
    return s.volts + s.rippleVolts * std::sin(2 * std::numbers::pi * s.rippleHz * tUs / 1e6);
}

uint8_t batteryCount(double volts) {
    if (!(volts > 0)) return 0; // also catches NaN
    return static_cast<uint8_t>(std::min(std::lround(volts / VoltsPerCount), 255L));
}

} // namespace unit
