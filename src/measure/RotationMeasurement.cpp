#include "measure/RotationMeasurement.h"
#include <cstdio>

namespace measure {

std::string newMeasurementName(int day, const std::string& monthAbbrev, int year, int hour,
                               int minute, int second) {
    char tail[32];
    std::snprintf(tail, sizeof tail, "%02d-%02d%02d%02d.mrot", year % 100, hour % 100, minute % 100,
                  second % 100);
    return "Misura-" + std::to_string(day) + monthAbbrev + tail;
}

} // namespace measure
