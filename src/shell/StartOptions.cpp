#include "shell/StartOptions.h"

using namespace base;

namespace shell {

namespace {
bool isOption(const std::string& arg) {
    return !arg.empty() && arg[0] == '-';
}

struct CommandOption {
    const char* name;
    FileCommand::Kind kind;
    bool takesOutput;
};
constexpr CommandOption kCommands[] = {
    {"--export-csv", FileCommand::Kind::ExportCsv, true},
    {"--print-table", FileCommand::Kind::PrintTable, false},
    {"--to-pdf", FileCommand::Kind::ToPdf, true},
};
} // namespace

StartOptions parseStartOptions(const std::vector<std::string>& args) {
    StartOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const CommandOption* command = nullptr;
        for (const CommandOption& c : kCommands)
            if (arg == c.name) command = &c;
        if (command) {
            // The file follows the option; a second file names the output.
            if (i + 1 >= args.size() || isOption(args[i + 1])) {
                options.missingFile = arg;
                continue;
            }
            options.command.kind = command->kind;
            options.command.input = args[++i];
            options.command.output.clear();
            if (command->takesOutput && i + 1 < args.size() && !isOption(args[i + 1]))
                options.command.output = args[++i];
        } else if (arg == "--simulated") {
            options.simulated = true;
        } else if (arg == "--guide") {
            options.guidePath = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (isOption(arg)) {
            options.unknown.push_back(arg);
        } else {
            options.documents.push_back(arg);
        }
    }
    return options;
}

void applyStartOptions(const StartOptions& options, SettingsData& settings) {
    if (!options.simulated) return;
    settings.MIDIOutDevice = kSimulatedDevice;
    settings.MIDIInDevice = kSimulatedDevice;
}

std::string startOptionsUsage() {
    return "Usage: zephalon [--simulated] [--guide] [document...]\n"
           "       zephalon --export-csv FILE.mrot [OUT.csv]\n"
           "       zephalon --print-table FILE.crva\n"
           "       zephalon --to-pdf FILE [OUT.pdf]\n"
           "  --simulated    use the simulated unit as MIDI output and input device\n"
           "  --guide        print the path of the user guide the Help menu opens, then end\n"
           "  --export-csv   write a measurement (.mrot, .mant) as CSV, beside it when no\n"
           "                 OUT.csv is given, as the measurement windows' Esporta CSV does\n"
           "  --print-table  print the unit tables of a curve file (.crva) address by\n"
           "                 address, as the transfer writes them into a module\n"
           "  --to-pdf       write the printed sheet of a curve (.crva) or measurement\n"
           "                 (.mrot, .mant) as PDF, beside it when no OUT.pdf is given\n"
           "  document       a curve (.crva) or other document file to open at start\n"
           "The file commands open no window and write no settings; they end with status 0\n"
           "when done, 1 when the file is refused or cannot be read or written, 2 when the\n"
           "command line is wrong. The settings and data files are kept in the current folder.\n";
}

} // namespace shell
