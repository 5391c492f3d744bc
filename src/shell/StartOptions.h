#pragma once
#include "base/Settings.h"
#include <string>
#include <vector>

namespace shell {

// A file command: the program works on a file and ends, with no window.
struct FileCommand {
    enum class Kind { None, ExportCsv, PrintTable, ToPdf };
    Kind kind = Kind::None;
    std::string input;
    std::string output; // empty: beside the input, with the command's extension
};

// What the command line asks of this run.
struct StartOptions {
    bool simulated = false;  // --simulated: the simulated unit for input and output
    bool guidePath = false;  // --guide: print where the user guide is, then end
    bool help = false;       // --help
    FileCommand command;     // --export-csv, --print-table, --to-pdf
    std::string missingFile; // a file command given without its file: the option's name
    std::vector<std::string> unknown;
    std::vector<std::string> documents; // the other arguments: document files to open
};

// The simulated unit is always the first device of both lists.
inline constexpr int kSimulatedDevice = 0;

// Exit status of a run that ends without a window.
inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1; // a file refused, unreadable or not written
inline constexpr int kExitUsage = 2;   // a command without its file, or an unknown option

// Reads the arguments after the program's name (the toolkit has taken its own already).
StartOptions parseStartOptions(const std::vector<std::string>& args);

// Applies the options to the settings just read: --simulated chooses device 0 both ways,
// as choosing "Simulated unit" in both device menus would (and is remembered the same way).
void applyStartOptions(const StartOptions& options, base::SettingsData& settings);

// The text printed for --help (and after an unknown option).
std::string startOptionsUsage();

} // namespace shell
