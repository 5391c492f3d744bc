#include "measure/ui/CsvExportDialog.h"
#include "app/FileStore.h"
#include "app/MenuCaptions.h"
#include "measure/CsvExport.h"
#include "measure/RowStore.h"
#include <QFileDialog>

namespace {
constexpr int kSaveAsTitleId = 75;   // "Salva file come"
constexpr int kDiskWriteError = 109; // "Errore di scrittura su disco"
constexpr int kPlainMessage = 1;     // the insert is the whole message

// The document's file name without its folder, trailing blanks and extension.
QString baseNameOf(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    name.erase(name.find_last_not_of(' ') + 1);
    QString base = fromSystemPath(name);
    const qsizetype dot = base.lastIndexOf('.');
    if (dot > 0) base.truncate(dot);
    return base;
}
// The file dialog's filters offer the two conventions, the language's chosen first.
QString conventionFilter(const CsvConvention& c, int langOffset) {
    const char* key =
        c.separator == kCsvItalian.separator ? "csvSeparatorItalian" : "csvSeparatorEnglish";
    return QString::fromStdString(designCaption(key, langOffset)) + QStringLiteral(" (*.csv)");
}
} // namespace

void exportMeasurementCsv(QWidget* parent, WindowContext& ctx, const RowSource& rows,
                          const std::string& documentPath, const CsvPathChooser& chooser) {
    const QString suggested = baseNameOf(documentPath) + ".csv";
    const QString folder = fromSystemPath(ctx.app.LastMeasFolder);
    const int lang = ctx.texts.LangOffset;
    CsvConvention convention = csvConventionOf(lang);
    QString chosen;
    if (chooser) {
        chosen = chooser(folder, suggested);
    } else {
        const QString language = conventionFilter(convention, lang);
        const QString other = conventionFilter(lang == 200 ? kCsvItalian : kCsvEnglish, lang);
        QFileDialog dialog(parent, ctx.text(kSaveAsTitleId), folder);
        dialog.setNameFilters({language, other});
        dialog.selectNameFilter(language);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        dialog.selectFile(suggested);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = dialog.selectedFiles().constFirst();
            if (dialog.selectedNameFilter() == other)
                convention = lang == 200 ? kCsvItalian : kCsvEnglish;
        }
    }
    if (chosen.isEmpty()) return;
    const std::string csv = measurementCsv(
        rows.size(), [&rows](size_t i) { return rows.row(i); }, convention);
    const std::string failure = writeFileAtomically(toSystemPath(chosen), csv);
    if (!failure.empty())
        ctx.messages.ShowMsg(kPlainMessage, kAppTitle,
                             ctx.texts.text(kDiskWriteError) + ": " + toSystemPath(chosen) + " (" +
                                 failure + ")");
}
