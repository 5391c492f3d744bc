// The advance window's printed sheet.
#include "measure/ui/MeasurementSheet.h"
#include "measure/ui/frmMisAnt.h"

QString frmMisAnt::sheetTitle(int langOffset) const {
    return measurementSheetTitle(langOffset);
}

void frmMisAnt::paintSheet(SheetPainter& sheet) {
    MeasurementSheetData data =
        sheetDataOf(documentPath(), ctx.app.Measurement.Notes, measurement_.rows);
    data.diagram = diagram_;
    paintMeasurementSheet(sheet, data);
}
