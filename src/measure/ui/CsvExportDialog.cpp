#include "measure/ui/CsvExportDialog.h"
#include "base/FileStore.h"
#include "base/PathNames.h"
#include "base/ui/FileDialogs.h"
#include "measure/CsvExport.h"
#include "measure/RowStore.h"

namespace {
constexpr const char* kCsvFilter = "CSV (*.csv)";
constexpr int kSaveAsTitleId = 75;   // "Salva file come"
constexpr int kDiskWriteError = 109; // "Errore di scrittura su disco"
constexpr int kPlainMessage = 1;     // the insert is the whole message
} // namespace

void exportMeasurementCsv(QWidget* /*parent*/, WindowContext& ctx, const RowStore& rows,
                          const std::string& documentPath, const CsvPathChooser& chooser) {
    const QString suggested =
        fromSystemPath(baseNameOf(withoutTrailingBlanks(documentPath))) + ".csv";
    const QString folder = fromSystemPath(ctx.app.LastMeasFolder);
    QString chosen;
    if (chooser) {
        chosen = chooser(folder, suggested);
    } else {
        FileDialogRequest request =
            FileDialogRequest::toSave(ctx.text(kSaveAsTitleId), folder,
                                      QString::fromLatin1(kCsvFilter), QStringLiteral("csv"));
        request.proposedName = suggested;
        chosen = chooseFile(ctx, request);
    }
    if (chosen.isEmpty()) return;
    const std::string csv = measurementCsv(rows.size(), [&rows](size_t i) { return rows.row(i); });
    const std::string failure = writeFileAtomically(toSystemPath(chosen), csv);
    if (!failure.empty())
        ctx.messages.ShowMsg(kPlainMessage, kAppTitle,
                             ctx.texts.text(kDiskWriteError) + ": " + toSystemPath(chosen) + " (" +
                                 failure + ")");
}
