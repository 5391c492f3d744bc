#include "measure/ui/MeasurementSheet.h"
#include "base/ui/WindowContext.h"
#include "measure/MeasurementLayer.h"
#include "measure/MeasurementSummary.h"
#include "measure/RowStore.h"
#include "measure/ui/AdvanceDiagramPainting.h"
#include "measure/ui/ImageCanvas.h"
#include <cmath>

using namespace base;

namespace measure {

namespace {
// Pixels of the pictures on the sheet (wide enough for a printer, small in a PDF).
constexpr int kImageWidth = 2000;

void paintAxisLabels(SheetPainter& sheet, const QRectF& area, const AdvanceDiagram& d) {
    QPainter& p = sheet.painter();
    QFont font = p.font();
    font.setPointSizeF(7);
    p.setFont(font);
    p.setPen(Qt::black);
    const double sx = area.width() / d.width, sy = area.height() / d.height;
    const double box = sheet.pt(30);
    for (int k = d.speedLow; k <= d.speedHigh; ++k) {
        const double x = area.left() + d.xOf(k * 1000.0) * sx;
        p.drawText(QRectF(x - box / 2, area.top() + AdvanceDiagram::Bottom * sy, box, sheet.pt(10)),
                   Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromStdString(speedAxisLabel(k, sheet.langOffset())));
    }
    for (int k = d.advanceLow; k <= d.advanceHigh; ++k) {
        const double y = area.top() + d.yOf(k * 100.0) * sy;
        p.drawText(QRectF(area.left(), y - sheet.pt(5), AdvanceDiagram::Left * sx - sheet.pt(3),
                          sheet.pt(10)),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(k * 10));
    }
}

void paintLegend(SheetPainter& sheet, const std::vector<DiagramLayer>& layers) {
    for (const DiagramLayer& layer : layers) {
        if (!layer.visible) continue;
        const QRectF r = sheet.block(sheet.pt(12));
        QPainter& p = sheet.painter();
        p.fillRect(QRectF(r.left(), r.center().y() - sheet.pt(3), sheet.pt(18), sheet.pt(6)),
                   layer.colour);
        p.setPen(Qt::black);
        QFont font = p.font();
        font.setPointSizeF(9);
        p.setFont(font);
        p.drawText(r.adjusted(sheet.pt(24), 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   layer.name + QStringLiteral("  ") +
                       QLocale().toString(layer.date, QLocale::ShortFormat));
    }
}

QImage rotationScreen(const RotationGraph& settings, const RowSource& rows, double aspect) {
    RotationGraph graph = settings;
    const double tpp = static_cast<double>(graph.pictureWidth) / kImageWidth;
    graph.pictureHeight = static_cast<int>(graph.pictureWidth * aspect);
    graph.layout();
    ImageCanvas canvas(tpp, tpp);
    canvas.image = QImage(kImageWidth, static_cast<int>(std::lround(graph.pictureHeight / tpp)),
                          QImage::Format_RGB32);
    graph.GrigliaDis(canvas);
    graph.redrawState = RotationGraph::NewSweepKeepPosition;
    if (!rows.empty()) graph.MisRotDiagrammaAgg(rows, canvas);
    return canvas.image;
}
} // namespace

std::vector<AdvancePoint> rotationAdvancePoints(const RowSource& rows) {
    std::vector<AdvancePoint> points;
    points.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        if (const auto p = rotationAdvancePoint(rows.row(i))) points.push_back(*p);
    return points;
}

MeasurementSheetData sheetDataOf(const std::string& path, const std::string& notes,
                                 const RowSource& rows) {
    MeasurementSheetData data;
    data.path = path;
    data.date = documentDate(path);
    data.notes = notes;
    data.rows = &rows;
    data.graph.layout();
    return data;
}

QString measurementSheetTitle(int langOffset) {
    return QString::fromUtf8(langOffset == 200 ? "Measurement" : "Misura");
}

void paintMeasurementSheet(SheetPainter& sheet, const MeasurementSheetData& data) {
    static const RowStore kNoRows;
    const RowSource& rows = data.rows ? *data.rows : kNoRows;
    sheet.heading(measurementSheetTitle(sheet.langOffset()), fromSystemPath(data.path), data.date);

    // The advance diagram at the picture's proportions, its layers named below it.
    sheet.line(sheet.tr("Anticipo (gradi) e giri/min", "Advance (degrees) against rpm"), false,
               true);
    AdvanceDiagram d = data.diagram;
    d.resize(9600, 6500);
    const QRectF area = sheet.block(sheet.page().width() * d.height / d.width);
    const QImage diagram =
        advanceDiagramImage(d, QSize(kImageWidth, kImageWidth * d.height / d.width),
                            rotationAdvancePoints(rows), data.layers);
    sheet.painter().drawImage(area, diagram);
    paintAxisLabels(sheet, area, d);
    sheet.gap(4);
    paintLegend(sheet, data.layers);

    // The rotation graph's screen.
    sheet.gap(6);
    sheet.line(sheet.tr("Grafico rotazione", "Rotation graph"), false, true);
    const double aspect = 0.4;
    const QRectF screen = sheet.block(sheet.page().width() * aspect);
    sheet.painter().drawImage(screen, rotationScreen(data.graph, rows, aspect));

    sheet.gap(6);
    sheet.line(sheet.tr("Riepilogo", "Summary"), false, true);
    const MeasurementSummary summary =
        summarizeMeasurement(rows.size(), [&rows](size_t i) { return rows.row(i); });
    for (const std::string& l : summaryLines(summary, data.lost, sheet.langOffset()))
        sheet.line(QString::fromStdString(l), true);
    sheet.paragraphs(sheet.tr("Note", "Notes"), QString::fromLatin1(data.notes.c_str()));
}

} // namespace measure
