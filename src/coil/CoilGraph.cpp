#include "coil/CoilGraph.h"
#include <algorithm>

namespace coil {

CurrentGraph currentGraph(const CoilSimulation& s) {
    CurrentGraph g;
    if (s.periodMs <= 0) return g;
    const double perMs = PeriodDivisions * Division / s.periodMs; // twips per ms
    g.dwellStartX = std::max(g.periodStartX, g.periodEndX - s.dwellMs * perMs);
    g.dwellEndX = g.dwellStartX + s.dwellMs * perMs;
    g.curve.reserve(s.amps.size());
    for (std::size_t k = 0; k < s.amps.size(); ++k)
        g.curve.push_back({g.dwellStartX + static_cast<double>(k) * StepMs * perMs,
                           OriginY - Division * s.amps[k]});
    return g;
}

std::vector<BandLevel> dwellProfile(const DwellIndexes& dwell) {
    std::vector<BandLevel> levels{{0, 2000, 10.0}};
    for (int band = 0; band < BandCount; ++band) {
        const int from = 2000 + 1000 * band;
        const int to = band == BandCount - 1 ? ProfileMaxRpm : from + 1000;
        levels.push_back({from, to, dwellMsOf(dwell[static_cast<std::size_t>(band)])});
    }
    return levels;
}

} // namespace coil
