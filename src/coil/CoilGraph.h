#pragma once
#include "coil/CoilSimulation.h"
#include <vector>

namespace coil {

// Where the current graph and the dwell profile put their marks. The current graph is
// laid out in twips: a grid of 10 x 10 divisions of 600 twips whose origin lies 400 twips
// from the left edge and 400 twips above the bottom edge; one revolution spans eight
// divisions, the current axis has 1 A per division.

inline constexpr int Division = 600;
inline constexpr int Divisions = 10;
inline constexpr int Margin = 400;
inline constexpr int Size = 2 * Margin + Divisions * Division; // width and height
inline constexpr int OriginX = Margin;
inline constexpr int OriginY = Size - Margin;
inline constexpr int PeriodDivisions = 8;

struct Point {
    double x = 0;
    double y = 0;
};

struct CurrentGraph {
    double periodStartX = OriginX;
    double periodEndX = OriginX + PeriodDivisions * Division;
    // The dwell ends with the spark at the end of the period; a dwell longer than the
    // period starts at the origin and runs past the period's end.
    double dwellStartX = 0;
    double dwellEndX = 0;
    std::vector<Point> curve; // one point per integration step
};

CurrentGraph currentGraph(const CoilSimulation& s);

// The dwell against engine speed: one level per band, 0..2000 rpm the fixed 10 ms and the
// last band up to ProfileMaxRpm.
inline constexpr int ProfileMaxRpm = 10000;
struct BandLevel {
    int fromRpm = 0;
    int toRpm = 0;
    double dwellMs = 0;
};
std::vector<BandLevel> dwellProfile(const DwellIndexes& dwell);

} // namespace coil
