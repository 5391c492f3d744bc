#pragma once
#include "base/ui/WindowContext.h"
#include <QString>
#include <string>

namespace measure {

class RowSource;

// Exports a measurement's rows as CSV: asks where (in the measurement folder, named after the
// document) and in which convention (the file dialog's filters offer both, the language's
// first), writes
// the file atomically and reports a failure with the file and the system's reason.
void exportMeasurementCsv(base::WindowContext& ctx, const RowSource& rows,
                          const std::string& documentPath);

} // namespace measure
