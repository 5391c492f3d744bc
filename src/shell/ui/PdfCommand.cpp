#include "shell/ui/PdfCommand.h"
#include "base/PathNames.h"
#include "base/Texts.h"
#include "base/ui/Sheet.h"
#include "base/ui/WindowContext.h"
#include "curve/CurveFile.h"
#include "curve/ui/CurveSheet.h"
#include "measure/MrotFile.h"
#include "measure/RowStore.h"
#include "measure/ui/MeasurementSheet.h"
#include <QGuiApplication>
#include <cstdlib>

using namespace base;
using namespace curve;
using namespace measure;

namespace shell {

namespace {
constexpr int kDiskWriteError = 109; // "Errore di scrittura su disco"

CommandResult writePdf(const FileCommand& command, const QString& title, const SheetPaint& paint,
                       int langOffset) {
    CommandResult result;
    const std::string out =
        command.output.empty() ? withExtension(command.input, "pdf") : command.output;
    const std::string failure = writeSheetPdf(out, title, paint, langOffset);
    if (!failure.empty()) {
        result.status = kExitRefused;
        result.error = Texts{langOffset}.text(kDiskWriteError) + ": " + out + " (" + failure + ")";
    }
    return result;
}
} // namespace

CommandResult runToPdf(const FileCommand& command, int langOffset, int argc, char** argv) {
    const FileKindGuess kind = fileKindOf(command.input);
    if (kind == FileKindGuess::Other) return refusedFile(command.input, kind, langOffset);
    CommandResult result;
    std::string bytes;
    if (!readCommandInput(command.input, bytes, result, langOffset)) return result;
    // Fonts and pictures need the toolkit, not a display.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication toolkit(argc, argv);
    const QDateTime date = documentDate(command.input);
    if (kind == FileKindGuess::Curve) {
        const curve::CrvaReadResult read = curve::parseCrva(bytes);
        if (read.refusal != curve::CrvaRefusal::None)
            return refusedFile(command.input, kind, langOffset);
        return writePdf(
            command, curveSheetTitle(langOffset),
            [&](SheetPainter& sheet) {
                paintCurveSheet(sheet, read.document, command.input, date);
            },
            langOffset);
    }
    RowStore rows;
    const auto doc = parseMrot(bytes, [&rows](std::string_view row) { rows.append(row); });
    if (!doc) return refusedFile(command.input, kind, langOffset);
    bytes.clear();
    const MeasurementSheetData data = sheetDataOf(command.input, doc->notes, rows);
    return writePdf(
        command, measurementSheetTitle(langOffset),
        [&](SheetPainter& sheet) { paintMeasurementSheet(sheet, data); }, langOffset);
}

} // namespace shell
