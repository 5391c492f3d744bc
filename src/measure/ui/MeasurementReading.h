#pragma once
#include "base/ui/WindowContext.h"
#include <string>
#include <string_view>

namespace measure {

class RowStore;

// Reads a measurement file's rows into rows (emptied first) and its notes into the current
// measurement, telling the user when the notes were cut; false, rows left empty, when the
// file is refused.
bool readMeasurementFile(base::WindowContext& ctx, const std::string& path, std::string_view bytes,
                         RowStore& rows);

} // namespace measure
