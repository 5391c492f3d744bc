#pragma once
#include "shell/StartOptions.h"
#include <string>
#include <string_view>

namespace shell {

// The file commands of the command line (--export-csv, --print-table), run without a window:
// what they print, what they say went wrong and the exit status. Texts follow langOffset
// (0 Italian, 200 English) as the windows do.
struct CommandResult {
    int status = kExitDone;
    std::string out;   // for the standard output
    std::string error; // for the standard error, one line
};

// The kind of document a file is, by its extension (case ignored).
enum class FileKindGuess { Curve, Measurement, Other };
FileKindGuess fileKindOf(std::string_view path);

// Reads the command's input; on failure result says why (missing, unreadable).
bool readCommandInput(const std::string& path, std::string& bytes, CommandResult& result,
                      int langOffset);
// Writes a command's output atomically; on failure result says why.
bool writeCommandOutput(const std::string& path, const std::string& bytes, CommandResult& result,
                        int langOffset);
// A file the command's reader refused.
CommandResult refusedFile(const std::string& path, FileKindGuess expected, int langOffset);
// A file command given without its file.
CommandResult missingFile(const std::string& option, int langOffset);

CommandResult runExportCsv(const FileCommand& command, int langOffset);
CommandResult runPrintTable(const FileCommand& command, int langOffset);

} // namespace shell
