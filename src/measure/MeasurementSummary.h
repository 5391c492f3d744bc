#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace measure {

// What a measurement's printed sheet says of it: the rows, the time they span, the speeds
// reached and, per 500 rpm band, the advance measured.
struct AdvanceBand {
    int64_t fromRpm = 0; // the band is fromRpm .. fromRpm + 499
    int64_t minTenths = 0;
    int64_t maxTenths = 0;
    std::size_t points = 0;
};

struct MeasurementSummary {
    std::size_t rows = 0;
    int64_t firstUs = 0; // elapsed time of the first and the last row, unwrapped past the hour
    int64_t lastUs = 0;
    std::optional<int64_t> minRpm, maxRpm;
    std::vector<AdvanceBand> bands; // by speed, only bands with points
};

inline constexpr int64_t kAdvanceBandRpm = 500;

// From the 95-column rotation rows, oldest first.
MeasurementSummary summarizeMeasurement(std::size_t rowCount,
                                        const std::function<std::string_view(std::size_t)>& rowAt);

// The summary as lines of text (langOffset 0 Italian, 200 English); lost is the count of
// messages the input lost while the rows came in, when it is known.
std::vector<std::string> summaryLines(const MeasurementSummary& s, std::optional<uint32_t> lost,
                                      int langOffset);

} // namespace measure
