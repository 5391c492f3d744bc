#pragma once
#include "base/ui/WindowContext.h"
#include <QString>
#include <functional>
#include <string>

namespace measure {

class RowSource;

// Chooses the CSV file to export to, starting in a folder; empty: cancelled.
using CsvPathChooser = std::function<QString(const QString& folder, const QString& suggested)>;

// Exports a measurement's rows as CSV: asks where (in the measurement folder, named after the
// document, or through chooser when a test gives one) and in which convention (the file
// dialog's filters offer both, the language's first; a chooser takes the language's), writes
// the file atomically and reports a failure with the file and the system's reason.
void exportMeasurementCsv(base::WindowContext& ctx, const RowSource& rows,
                          const std::string& documentPath, const CsvPathChooser& chooser);

} // namespace measure
