#include "measure/ui/CsvExportDialog.h"
#include "base/FileStore.h"
#include "base/MenuCaptions.h"
#include "base/PathNames.h"
#include "base/ui/FileDialogs.h"
#include "measure/CsvExport.h"
#include "measure/RowStore.h"

using namespace base;

namespace measure {

namespace {
constexpr int kSaveAsTitleId = 75;   // "Salva file come"
constexpr int kDiskWriteError = 109; // "Errore di scrittura su disco"
constexpr int kPlainMessage = 1;     // the insert is the whole message

// The file dialog's filters offer the two conventions, the language's chosen first.
QString conventionFilter(const CsvConvention& c, int langOffset) {
    const char* key =
        c.separator == kCsvItalian.separator ? "csvSeparatorItalian" : "csvSeparatorEnglish";
    return QString::fromStdString(designCaption(key, langOffset)) + QStringLiteral(" (*.csv)");
}
} // namespace

void exportMeasurementCsv(WindowContext& ctx, const RowSource& rows,
                          const std::string& documentPath) {
    const QString suggested =
        fromSystemPath(baseNameOf(withoutTrailingBlanks(documentPath))) + ".csv";
    const QString folder = fromSystemPath(ctx.app.LastMeasFolder);
    const int lang = ctx.texts.LangOffset;
    CsvConvention convention = csvConventionOf(lang);
    const QString language = conventionFilter(convention, lang);
    const QString other = conventionFilter(lang == 200 ? kCsvItalian : kCsvEnglish, lang);
    FileDialogRequest request = FileDialogRequest::toSave(
        ctx.text(kSaveAsTitleId), folder, language + ";;" + other, QStringLiteral("csv"));
    request.selectedFilter = language;
    request.proposedName = suggested;
    QString filter;
    request.chosenFilter = &filter;
    const QString chosen = chooseFile(ctx, request);
    if (filter == other) convention = lang == 200 ? kCsvItalian : kCsvEnglish;
    if (chosen.isEmpty()) return;
    const std::string csv = measurementCsv(
        rows.size(), [&rows](size_t i) { return rows.row(i); }, convention);
    const std::string failure = writeFileAtomically(toSystemPath(chosen), csv);
    if (!failure.empty())
        ctx.messages.ShowMsg(kPlainMessage, kAppTitle,
                             ctx.texts.text(kDiskWriteError) + ": " + toSystemPath(chosen) + " (" +
                                 failure + ")");
}

} // namespace measure
