#include "unit/EngineModel.h"
#include <algorithm>
#include <array>
#include <cmath>

namespace unit {

namespace {

double saneRpm(double rpm) {
    if (!(rpm >= MinRunningRpm)) return 0; // also catches NaN
    return std::min(rpm, MaxRpm);
}

uint8_t curveBits(const EngineSettings& s) {
    return static_cast<uint8_t>((std::clamp(s.curve, 0, 3) & 0x03) << A1CurveShift);
}

} // namespace

double profileRpm(const EngineSettings& s, double tUs, UnitRandom& rng) {
    switch (s.profile) {
    case SpeedProfile::Fixed:
        return saneRpm(s.fixedRpm);
    case SpeedProfile::Sweep: {
        const double periodUs = s.sweepPeriodS * 1e6;
        if (!(periodUs > 0)) return saneRpm(s.sweepMinRpm);
        const double phase = std::fmod(tUs / periodUs, 1.0);
        const double up = phase < 0.5 ? 2 * phase : 2 * (1 - phase);
        return saneRpm(s.sweepMinRpm + (s.sweepMaxRpm - s.sweepMinRpm) * up);
    }
    case SpeedProfile::Idle: {
        const double jitter = std::max(0.0, s.idleJitterRpm) * (2 * rng.unit() - 1);
        return saneRpm(s.idleRpm + jitter);
    }
    }
    return 0;
}

std::optional<int> tableAdvanceCount(const UnitBytes& eeprom, int curve, double rpm) {
    if (curve != 1 && curve != 2) return std::nullopt;
    const uint8_t programmedBit = curve == 1 ? 0x01 : 0x02;
    if (eeprom[FlagsAddress] & programmedBit) return std::nullopt;
    const int base = curve == 1 ? Curve1TableAddress : Curve2TableAddress;
    // Entry 12 is 500 rpm, entry 106 is 9,900 rpm (the last one the unit holds).
    const long step = std::lround(std::clamp(rpm, 500.0, 9900.0) - 500.0) / 100;
    const int entry = 12 + static_cast<int>(step);
    const int flagByte = eeprom[base + (entry - 12) / 8];
    const int high = (flagByte >> ((entry - 12) % 8)) & 1;
    return eeprom[base + entry] + 256 * high;
}

double dwellMs(const UnitBytes& eeprom, double rpm) {
    if (rpm < 2000) return 10.0;
    constexpr std::array<int, 6> upper{3000, 4000, 5000, 6000, 7000, 1 << 30};
    constexpr std::array<int, 6> defaults{0, 5, 8, 9, 10, 11};
    size_t band = 0;
    while (band + 1 < upper.size() && rpm > upper[band])
        ++band;
    int index = eeprom[DwellAddress + band];
    if (index > 15) index = defaults[band];
    return 10.0 - 0.5 * index;
}

Revolution revolutionAt(double rpm, const EngineSettings& s, const UnitBytes& eeprom) {
    Revolution r;
    rpm = saneRpm(rpm);
    if (rpm == 0) {
        r.a1 = stoppedStatus(s);
        return r;
    }
    const double periodUs = 60e6 / rpm;
    const auto tc = static_cast<uint32_t>(std::llround(periodUs / TickUs));
    r.tb = static_cast<uint32_t>(std::llround(tc * 315.0 / 360.0));
    r.ta = tc - r.tb;

    uint32_t advanceTicks = 0;
    r.a1 = static_cast<uint8_t>(curveBits(s) | A1Running);
    if (const auto count = tableAdvanceCount(eeprom, s.curve, rpm)) {
        advanceTicks = static_cast<uint32_t>(*count) * 2; // 3.2 us -> 1.6 us ticks
        r.a1 |= A1ProgrammedAdvance;
    } else {
        const double deg = std::max(0.0, s.defaultAdvanceDeg);
        advanceTicks = static_cast<uint32_t>(std::llround(deg / 360.0 * tc));
    }
    r.tss = r.ta > advanceTicks ? r.ta - advanceTicks : 0;

    // The coil needs some time off each revolution: dwell at most 90 % of it.
    const double dwellTicks = std::min(dwellMs(eeprom, rpm) * 1000.0 / TickUs, 0.9 * tc);
    const double start = static_cast<double>(r.tb) + r.tss - dwellTicks;
    r.tib = start > 0 ? static_cast<uint32_t>(std::llround(start)) : 0;
    return r;
}

uint8_t stoppedStatus(const EngineSettings& s) {
    return curveBits(s);
}

} // namespace unit
