#include "measure/GraphTimeBase.h"
#include "base/NumberFormat.h"
#include "protocol/MeasurementRow.h"
#include <algorithm>

namespace measure {

int clampCoarse(int coarse) {
    return std::clamp(coarse, 0, kLastCoarse);
}

int64_t fineTimeBase(int coarse, int fine) {
    return kCoarseTimeBases[static_cast<size_t>(clampCoarse(coarse))].us +
           static_cast<int64_t>(fine - kFineCentre) * 4;
}

std::string fineTimeBaseText(int64_t us, int langOffset) {
    return base::number(static_cast<double>(us) / 1000.0, 3, langOffset) + " ms/div";
}

} // namespace measure
