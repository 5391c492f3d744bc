#pragma once
#include "unit/UnitMemory.h"
#include "unit/UnitRandom.h"
#include <cstdint>
#include <optional>

namespace unit {

enum class SpeedProfile { Fixed, Sweep, Idle };

struct EngineSettings {
    SpeedProfile profile = SpeedProfile::Idle;
    double fixedRpm = 3000;
    // Sweep: min -> max -> min once per period (a triangle).
    double sweepMinRpm = 1000;
    double sweepMaxRpm = 9000;
    double sweepPeriodS = 20;
    // Idle: each revolution at idleRpm plus a uniform jitter of up to +/- idleJitterRpm.
    double idleRpm = 900;
    double idleJitterRpm = 30;
    // The curve selected on the unit (1 or 2) and the module whose EEPROM drives the timing.
    int curve = 1;
    UnitModuleId timingModule = UnitModuleId::MDX;
    // Advance applied when the selected curve has not been programmed.
    double defaultAdvanceDeg = 10;
    bool operator==(const EngineSettings&) const = default;
};

inline constexpr double TickUs = 1.6;
// Below this speed the engine counts as stopped (the revolution time would no longer fit
// the 19-bit Tb count).
inline constexpr double MinRunningRpm = 100;
inline constexpr double MaxRpm = 30000;

// The speed the profile gives at time tUs (microseconds of unit time); the idle profile
// draws its jitter from rng. Returns 0 for a stopped engine.
double profileRpm(const EngineSettings& settings, double tUs, UnitRandom& rng);

// Advance count of the selected curve's table (units of 3.2 us) at this speed, or nothing
// when the curve's flag bit in address 4 says it has not been programmed. The table entry
// is the nearest 100 rpm step from 500 rpm, held at the ends of the table.
std::optional<int> tableAdvanceCount(const UnitBytes& eeprom, int curve, double rpm);

// Dwell (coil charge time) in ms from the six speed bands at addresses 202..207; below
// 2000 rpm a fixed 10 ms. A band holding no valid index (above 15) uses its default.
double dwellMs(const UnitBytes& eeprom, double rpm);

// The four times of one revolution in ticks of 1.6 us and the A1 status bits.
struct Revolution {
    uint32_t tb = 0;  // the 315 degree part
    uint32_t ta = 0;  // the 45 degree part, ending at top dead centre
    uint32_t tib = 0; // start of the coil charge, counted from the start of Tb
    uint32_t tss = 0; // spark, counted from the start of Ta (never more than Ta)
    uint8_t a1 = 0;
};

// A1 bits: 0 = advance taken from a programmed curve, 4-5 = selected curve, 6 = running.
inline constexpr uint8_t A1ProgrammedAdvance = 0x01;
inline constexpr uint8_t A1Running = 0x40;
inline constexpr int A1CurveShift = 4;

// A revolution at rpm (>= MinRunningRpm), timed from the EEPROM of the timing module.
Revolution revolutionAt(double rpm, const EngineSettings& settings, const UnitBytes& eeprom);
// A1 of a stopped engine.
uint8_t stoppedStatus(const EngineSettings& settings);

} // namespace unit
