#include "shell/FileCommands.h"
#include "base/DocumentKinds.h"
#include "base/FileStore.h"
#include "base/MenuCaptions.h"
#include "base/PathNames.h"
#include "base/Texts.h"
#include "curve/CurveFile.h"
#include "curve/UnitTableListing.h"
#include "measure/CsvExport.h"
#include <algorithm>

using namespace base;
using namespace measure;

namespace shell {

namespace {
constexpr int kFileNotFound = 79;    // "File _ assente"
constexpr int kReadError = 104;      // "Errore di lettura"
constexpr int kDiskWriteError = 109; // "Errore di scrittura su disco"

std::string withInsert(std::string text, std::string_view insert) {
    const size_t at = text.find('_');
    if (at != std::string::npos) text.replace(at, 1, insert);
    return text;
}

CommandResult failure(std::string message) {
    CommandResult result;
    result.status = kExitRefused;
    result.error = std::move(message);
    return result;
}
} // namespace

FileKindGuess fileKindOf(std::string_view path) {
    const DocumentKindRow* row = documentKindOfExtension(extensionOf(path));
    if (row && row->kind == DocKind::Curve) return FileKindGuess::Curve;
    if (row && row->measurement) return FileKindGuess::Measurement;
    return FileKindGuess::Other;
}

bool readCommandInput(const std::string& path, std::string& bytes, CommandResult& result,
                      int langOffset) {
    const Texts texts{langOffset};
    FileRead read = readFile(path);
    if (read.result == FileRead::Result::Missing) {
        result = failure(withInsert(texts.text(kFileNotFound), path));
        return false;
    }
    if (!read.ok()) {
        result = failure(texts.text(kReadError) + ": " + path + " (" + read.error + ")");
        return false;
    }
    bytes = std::move(read.bytes);
    return true;
}

bool writeCommandOutput(const std::string& path, const std::string& bytes, CommandResult& result,
                        int langOffset) {
    const std::string why = writeFileAtomically(path, bytes);
    if (why.empty()) return true;
    result = failure(Texts{langOffset}.text(kDiskWriteError) + ": " + path + " (" + why + ")");
    return false;
}

CommandResult refusedFile(const std::string& path, FileKindGuess expected, int langOffset) {
    const char* entry = expected == FileKindGuess::Curve         ? "cliNotCurve"
                        : expected == FileKindGuess::Measurement ? "cliNotMeasurement"
                                                                 : "cliUnknownKind";
    return failure(withInsert(designCaption(entry, langOffset), path));
}

CommandResult missingFile(const std::string& option, int langOffset) {
    CommandResult result = failure(withInsert(designCaption("cliMissingFile", langOffset), option));
    result.status = kExitUsage;
    return result;
}

CommandResult runExportCsv(const FileCommand& command, int langOffset) {
    CommandResult result;
    std::string bytes;
    if (!readCommandInput(command.input, bytes, result, langOffset)) return result;
    const auto csv = mrotCsv(bytes, csvConventionOf(langOffset));
    bytes.clear();
    bytes.shrink_to_fit();
    if (!csv) return refusedFile(command.input, FileKindGuess::Measurement, langOffset);
    const std::string out =
        command.output.empty() ? withExtension(command.input, "csv") : command.output;
    writeCommandOutput(out, *csv, result, langOffset);
    return result;
}

CommandResult runPrintTable(const FileCommand& command, int langOffset) {
    CommandResult result;
    std::string bytes;
    if (!readCommandInput(command.input, bytes, result, langOffset)) return result;
    const curve::CrvaReadResult read = curve::parseCrva(bytes);
    if (read.refusal != curve::CrvaRefusal::None)
        return refusedFile(command.input, FileKindGuess::Curve, langOffset);
    result.out = command.input + "\n" + curve::unitTableListing(read.document, langOffset);
    return result;
}

} // namespace shell
