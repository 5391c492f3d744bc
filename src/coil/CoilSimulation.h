#pragma once
#include "coil/CoilDocument.h"
#include <optional>
#include <string>
#include <vector>

namespace coil {

// Dwell of the list index k: 10.0 - 0.5 k ms, in integration steps of 0.05 ms
// (200 - 10 k).
inline constexpr double StepMs = 0.05;
int dwellSteps(int index);
double dwellMsOf(int index);
// The list's text of index k in the language (LangOffset): "10,0" .. "2,5" ("10.0" ..).
std::string dwellText(int index, int langOffset);

// Band of a speed: -1 below 2000 rpm (fixed 10 ms), 0 for 2000..3000, ... 5 above 7000.
// A speed on a limit belongs to the lower band.
int bandOf(int rpm);
// A band's speeds in the language (LangOffset): "2.000-3.000" .. "> 7.000".
std::string bandText(int band, int langOffset);
// Integration steps of the dwell at this speed (200 below 2000 rpm).
int dwellStepsAt(const CoilValues& v, int rpm);

// The coil current over one dwell at the reference speed VR and the figures shown.
struct CoilSimulation {
    double periodMs = 0;      // T = 60000 / VR
    double dwellMs = 0;       // TB
    int steps = 0;            // TB / 0.05
    double totalOhm = 0;      // R_t = R (1 + (+R %) / 100)
    double tauMs = 0;         // L / R_t
    double finalAmps = 0;     // I_f = V Batt / R_t
    std::vector<double> amps; // i at the start of each step (step k starts at k * 0.05 ms)
    double endAmps = 0;       // i_e, the current of the last step
    double endEnergyMJ = 0;   // 1/2 L i_e^2
    double maxEnergyMJ = 0;   // 1/2 L I_f^2
    double heatMJ = 0;        // W: sum of R_t i^2 0.05 over the steps
    double meanPowerW = 0;    // W / T
};

// Nothing when the values cannot be simulated: L, R or VR of 0.
std::optional<CoilSimulation> simulate(const CoilValues& v);

// The texts of the window's figure labels, numbers and speed unit in the language
// (LangOffset).
struct CoilFigures {
    std::string LabVRT;         // "1.000 giri/min  60,000 ms", "1,000 rpm  60.000 ms"
    std::string LabTXDiv;       // "Tempo/Div 7,500 ms"
    std::string LabIbob;        // "I=3,33 A"
    std::string LabE;           // "E=27,7 mJ"
    std::string LabIMax;        // "Imax=3,33 A"
    std::string LabEMax;        // "Emax=27,8 mJ"
    std::string LabPMed;        // "Pm=..."
    std::string LabTempoBobina; // "TB=10,0 ms"
};
CoilFigures figuresOf(int vr, const CoilSimulation& s, int langOffset);

// value with a fixed number of decimals in the language (LangOffset), at least one integer
// digit, rounded half away from zero ("#0.00" of 3.335 gives "3,34").
std::string formatDecimal(double value, int decimals, int langOffset);
// A raw value in tenths with one decimal, as the text boxes take it: 50 -> "5,0".
std::string tenthsText(int raw);

} // namespace coil
