#pragma once
#include "measure/RowStore.h"
#include <cstddef>

using namespace measure;

// Measurements for the benchmarks: a sweep of speeds with row numbers counting up (kept to
// 6 digits) and the time running on.
namespace bench {

inline constexpr size_t kRows = 1'000'000;

// rows distinct rows; variant shifts the sweep and the advance, so that measurements laid
// over each other differ.
RowStore makeMeasurement(size_t rows, int variant = 0);
// The million rows of variant 0, made once.
const RowStore& measurement();

} // namespace bench
