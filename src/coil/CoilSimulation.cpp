#include "coil/CoilSimulation.h"
#include "base/NumberFormat.h"
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace coil {

namespace {
constexpr int kStepsPerMs = 20;
constexpr int kFixedDwellSteps = 200; // 10 ms below 2000 rpm
constexpr int kFirstBandRpm = 2000;
constexpr int kBandWidthRpm = 1000;
constexpr int kDivisions = 8; // one period spans eight divisions of the graph
} // namespace

int dwellSteps(int index) {
    return kFixedDwellSteps - 10 * index;
}

double dwellMsOf(int index) {
    return static_cast<double>(dwellSteps(index)) / kStepsPerMs;
}

std::string dwellText(int index, int langOffset) {
    return formatDecimal(dwellMsOf(index), 1, langOffset);
}

std::string bandText(int band, int langOffset) {
    const int from = kFirstBandRpm + kBandWidthRpm * band;
    if (band == BandCount - 1) return "> " + base::integer(from, langOffset);
    return base::integer(from, langOffset) + "-" + base::integer(from + kBandWidthRpm, langOffset);
}

int bandOf(int rpm) {
    if (rpm < kFirstBandRpm) return -1;
    for (int band = 0; band < BandCount - 1; ++band)
        if (rpm <= kFirstBandRpm + kBandWidthRpm * (band + 1)) return band;
    return BandCount - 1;
}

int dwellStepsAt(const CoilValues& v, int rpm) {
    const int band = bandOf(rpm);
    return band < 0 ? kFixedDwellSteps : dwellSteps(v.dwell[static_cast<std::size_t>(band)]);
}

std::optional<CoilSimulation> simulate(const CoilValues& v) {
    if (v.L <= 0 || v.R <= 0 || v.VR <= 0) return std::nullopt;
    CoilSimulation s;
    const double L = v.L / 10.0; // mH
    const double R = v.R / 10.0; // Ohm
    const double volts = v.VBatt / 10.0;
    s.periodMs = 60000.0 / v.VR;
    s.steps = dwellStepsAt(v, v.VR);
    s.dwellMs = static_cast<double>(s.steps) / kStepsPerMs;
    s.totalOhm = R * (1.0 + v.RPerc / 100.0);
    s.tauMs = L / s.totalOhm;
    s.finalAmps = volts / s.totalOhm;
    s.amps.reserve(static_cast<std::size_t>(s.steps));
    for (int k = 0; k < s.steps; ++k) {
        const double t = k * StepMs;
        const double i = s.finalAmps * (1.0 - std::exp(-t / s.tauMs));
        s.amps.push_back(i);
        s.heatMJ += s.totalOhm * i * i * StepMs;
    }
    s.endAmps = s.amps.empty() ? 0.0 : s.amps.back();
    s.endEnergyMJ = 0.5 * L * s.endAmps * s.endAmps;
    s.maxEnergyMJ = 0.5 * L * s.finalAmps * s.finalAmps;
    s.meanPowerW = s.heatMJ / s.periodMs;
    return s;
}

std::string formatDecimal(double value, int decimals, int langOffset) {
    // Rounded here, half away from zero; the rounded value is then written exactly.
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::copysign(std::round(std::fabs(value) * scale) / scale, value);
    return base::number(rounded, decimals, langOffset);
}

std::string tenthsText(int raw) {
    return formatDecimal(raw / 10.0, 1, 0);
}

CoilFigures figuresOf(int vr, const CoilSimulation& s, int lang) {
    CoilFigures f;
    f.LabVRT = base::withUnit(base::integer(vr, lang), base::rpmUnit(lang)) + "  " +
               formatDecimal(s.periodMs, 3, lang) + " ms";
    f.LabTXDiv = "Tempo/Div " + formatDecimal(s.periodMs / kDivisions, 3, lang) + " ms";
    f.LabIbob = "I=" + formatDecimal(s.endAmps, 2, lang) + " A";
    f.LabE = "E=" + formatDecimal(s.endEnergyMJ, 1, lang) + " mJ";
    f.LabIMax = "Imax=" + formatDecimal(s.finalAmps, 2, lang) + " A";
    f.LabEMax = "Emax=" + formatDecimal(s.maxEnergyMJ, 1, lang) + " mJ";
    f.LabPMed = "Pm=" + formatDecimal(s.meanPowerW, 1, lang) + " W";
    f.LabTempoBobina = "TB=" + formatDecimal(s.dwellMs, 1, lang) + " ms";
    return f;
}

} // namespace coil
