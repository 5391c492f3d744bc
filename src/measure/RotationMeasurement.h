#pragma once
#include "measure/RowStore.h"
#include <string>

namespace measure {

// One measurement as a measurement window holds it: its 95-column rows (oldest first), the
// document path (or the name of a new measurement) and whether it changed since it was
// loaded or saved. The rotation window keeps its List1 rows here; the advance window its
// List2 rows.
struct RotationMeasurement {
    RowStore rows{95};
    std::string path;
    bool modified = false;

    void clear() {
        rows.clear();
        modified = false;
    }
};

// A new measurement's document name: "Misura-" + the date as "dmmmyy" + "-" + the time of
// day as hhmmss + ".mrot", e.g. "Misura-6dic26-154102.mrot". monthAbbrev is the three-letter
// month of the program's language ("gen".."dic" or "jan".."dec").
std::string newMeasurementName(int day, const std::string& monthAbbrev, int year, int hour,
                               int minute, int second);

} // namespace measure
