#pragma once
#include <cstdint>

namespace unit {

// The supply the unit measures: a steady voltage with a sinusoidal ripple.
struct BatterySettings {
    double volts = 13.8;
    double rippleVolts = 0.15; // peak
    double rippleHz = 2.0;
    bool operator==(const BatterySettings&) const = default;
};

inline constexpr double VoltsPerCount = 0.0797;
// The unit samples the supply once every 26 ms while a battery recording runs.
inline constexpr uint64_t SamplePeriodUs = 26'000;

// Supply voltage at time tUs of unit time.
double batteryVolts(const BatterySettings& settings, double tUs);
// The unit's reading of it: volts / 0.0797 rounded, held within 0..255 (the A2 byte).
uint8_t batteryCount(double volts);

} // namespace unit
