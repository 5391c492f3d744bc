#pragma once
#include "base/ui/Sheet.h"
#include "measure/AdvanceDiagram.h"
#include "measure/RotationGraph.h"
#include "measure/ui/DiagramLayer.h"
#include <QColor>
#include <optional>
#include <string>
#include <vector>

namespace measure {

class RowSource;

// What the printed sheet of a measurement shows.
struct MeasurementSheetData {
    std::string path;
    QDateTime date;
    std::string notes;               // 8-bit, as the file keeps them
    const RowSource* rows = nullptr; // the 95-column rotation rows
    std::optional<uint32_t> lost;    // messages lost while recording, when known
    AdvanceDiagram diagram;          // the speed and advance limits shown
    RotationGraph graph;             // the rotation graph's settings and its screen's start
    std::vector<DiagramLayer> layers;
};

QString measurementSheetTitle(int langOffset);
// The sheet of a measurement window's document: its path and date, the notes and the rows.
MeasurementSheetData sheetDataOf(const std::string& path, const std::string& notes,
                                 const RowSource& rows);
// The advance diagram with its layers, the rotation graph's screen and the summary.
void paintMeasurementSheet(base::SheetPainter& sheet, const MeasurementSheetData& data);

// The points of rotation rows (the advance derived from each).
std::vector<AdvancePoint> rotationAdvancePoints(const RowSource& rows);

} // namespace measure
