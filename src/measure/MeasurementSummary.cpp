#include "measure/MeasurementSummary.h"
#include "measure/AdvanceRow.h"
#include "measure/RowReader.h"
#include <algorithm>
#include <cstdio>
#include <map>

namespace measure {

MeasurementSummary summarizeMeasurement(std::size_t rowCount,
                                        const std::function<std::string_view(std::size_t)>& rowAt) {
    MeasurementSummary s;
    s.rows = rowCount;
    std::map<int64_t, AdvanceBand> bands;
    int64_t previous = 0;
    bool timed = false;
    for (std::size_t i = 0; i < rowCount; ++i) {
        const std::string_view row = rowAt(i);
        if (const auto t = readTempo(rowField(row, TempoColumn))) {
            previous = unwrapTempo(*t, previous);
            if (!timed) s.firstUs = previous;
            s.lastUs = previous;
            timed = true;
        }
        if (const auto rpm = readInteger(rowField(row, RotColumn))) {
            s.minRpm = std::min(s.minRpm.value_or(*rpm), *rpm);
            s.maxRpm = std::max(s.maxRpm.value_or(*rpm), *rpm);
        }
        const auto point = advancePoint(advanceRowFromText(row));
        if (!point) continue;
        const int64_t from = point->rpm / kAdvanceBandRpm * kAdvanceBandRpm;
        AdvanceBand& band = bands[from];
        if (band.points == 0) {
            band.fromRpm = from;
            band.minTenths = band.maxTenths = point->tenths;
        }
        band.minTenths = std::min(band.minTenths, point->tenths);
        band.maxTenths = std::max(band.maxTenths, point->tenths);
        ++band.points;
    }
    for (const auto& [from, band] : bands)
        s.bands.push_back(band);
    return s;
}

namespace {
std::string degrees(int64_t tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// Seconds with three decimals.
std::string seconds(int64_t us) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld s", static_cast<long long>(us / 1'000'000),
                  static_cast<long long>(us % 1'000'000 / 1000));
    return text;
}
} // namespace

std::vector<std::string> summaryLines(const MeasurementSummary& s, std::optional<uint32_t> lost,
                                      int langOffset) {
    const bool en = langOffset == 200;
    std::vector<std::string> out;
    out.push_back((en ? "Rows: " : "Righe: ") + std::to_string(s.rows));
    out.push_back((en ? "Time: " : "Tempo: ") + seconds(s.firstUs) + " - " + seconds(s.lastUs) +
                  " (" + seconds(s.lastUs - s.firstUs) + ")");
    out.push_back((en ? "Speed: " : "Giri: ") +
                  (s.minRpm ? std::to_string(*s.minRpm) + " - " + std::to_string(*s.maxRpm) + " rpm"
                            : std::string("-")));
    out.push_back((en ? "Lost messages: " : "Messaggi persi: ") +
                  (lost
                       ? std::to_string(*lost)
                       : std::string(en ? "not recorded in the file" : "non registrati nel file")));
    out.push_back(en ? "Advance per 500 rpm band:" : "Anticipo per fascia di 500 giri/min:");
    for (const AdvanceBand& b : s.bands) {
        char line[96];
        std::snprintf(line, sizeof line, "%6lld-%-6lld rpm  %5s - %5s %s  (%zu %s)",
                      static_cast<long long>(b.fromRpm),
                      static_cast<long long>(b.fromRpm + kAdvanceBandRpm - 1),
                      degrees(b.minTenths).c_str(), degrees(b.maxTenths).c_str(),
                      en ? "deg" : "gradi", b.points, en ? "rows" : "righe");
        out.push_back(line);
    }
    return out;
}

} // namespace measure
